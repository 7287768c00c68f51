// The interface language: the context menu's choice, both windows retranslated at once, the
// run state untouched, the profile's key, and English texts that fit where they are shown.
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "BurnerCaptions.h"
#include "ContextMenu.h"
#include "ExportTexts.h"
#include "HistoryStatusBar.h"
#include "HistoryTexts.h"
#include "MainTexts.h"
#include "SimApp.h"
#include "SimDlgFixture.h"
#include "Translations.h"
#include "ViewMessages.h"

namespace {

QStringList Captions(const CSimDlg& dlg) {
    return {dlg.HistoryButton()->text(), dlg.PauseButton()->text(), dlg.CentreButton()->text(),
            dlg.EndsButton()->text(),    dlg.StartButton()->text(), dlg.CloseButton()->text()};
}

// Qt's own text of the standard Cancel button, as message boxes show it.
QString QtCancel() {
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

TEST_F(SimDlgTest, LanguageSwitchRetranslatesBothWindowsAndKeepsTheRunState) {
    Start();
    dlg->Show(dlg->Session().Timer());
    dlg->PauseButton()->click();
    dlg->HistoryButton()->click();
    QCoreApplication::processEvents();
    dlg->HistoryDlg()->ShowAverages(15, 62);
    CHistoryStatusBar* bar = dlg->HistoryDlg()->StatusBar();
    const QStringList japanese = Captions(*dlg);
    const QString japaneseStatus = bar->Text(CHistoryStatusBar::TEMPERATURE_PART);

    PickMenuItem(*dlg, "English");
    EXPECT_EQ(Captions(*dlg),
              QStringList({"History", "Resume", "Weak (ctr)", "Off (ends)", "Stop", "Close"}));
    EXPECT_EQ(dlg->windowTitle(), "Quorvel Ver. 3.1");
    EXPECT_EQ(dlg->HistoryDlg()->windowTitle(), "History Window");
    EXPECT_TRUE(bar->Text(CHistoryStatusBar::TEMPERATURE_PART).startsWith("Avg. temp.: 15 [°C]"));
    EXPECT_EQ(dlg->StartButton()->toolTip(), Tr(MainTexts::START_TIP));
    EXPECT_TRUE(dlg->StartButton()->toolTip().startsWith("Opens the settings dialog"));
    EXPECT_EQ(QtCancel(), "Cancel") << "Qt's Japanese texts must not be loaded in English";
    EXPECT_EQ(dlg->Profile().language, UiLanguage::English);
    for (const char* text :
         {ExportTexts::SAVE_PICTURE, ExportTexts::SAVE_HISTORY, ExportTexts::SAVE_FAILED}) {
        EXPECT_NE(Tr(text), QString::fromUtf8(text)) << text << " has no English text";
    }

    // The run state still follows the buttons.
    EXPECT_TRUE(dlg->Control().IsPaused());
    dlg->PauseButton()->click();
    EXPECT_EQ(dlg->PauseButton()->text(), "Pause");
    EXPECT_FALSE(dlg->Control().IsPaused());
    dlg->PauseButton()->click();

    PickMenuItem(*dlg, QString::fromUtf8("日本語"));
    EXPECT_EQ(Captions(*dlg), japanese);
    EXPECT_EQ(bar->Text(CHistoryStatusBar::TEMPERATURE_PART), japaneseStatus);
    EXPECT_EQ(dlg->HistoryDlg()->windowTitle(), QString::fromUtf8("履歴ウインドウ"));
    EXPECT_EQ(QtCancel(), QString::fromUtf8("キャンセル"));
    EXPECT_EQ(dlg->Profile().language, UiLanguage::Japanese);
}

// Every caption a button can show, and the history window's status texts, fit in English at
// the window's and the history window's default sizes.
TEST(LanguageFit, EnglishTextsFitTheButtonsAndTheStatusBar) {
    ASSERT_TRUE(SetUiLanguage(UiLanguage::English));
    CSimDlg dlg;
    dlg.SetProfile(ProfileValues{{0, 0, 444, 481}, {0, 0, 337, 212}, false, UiLanguage::English});
    dlg.DoModalWithoutLoop();
    const std::pair<QPushButton*, QList<const char*>> buttons[] = {
        {dlg.HistoryButton(), {MainTexts::HISTORY}},
        {dlg.PauseButton(), {MainTexts::PAUSE, MainTexts::RESUME}},
        {dlg.CentreButton(),
         {CENTRE_CAPTION_OFF, CENTRE_CAPTION_STRONG, CENTRE_CAPTION_MEDIUM, CENTRE_CAPTION_WEAK}},
        {dlg.EndsButton(),
         {ENDS_CAPTION_OFF, ENDS_CAPTION_STRONG, ENDS_CAPTION_MEDIUM, ENDS_CAPTION_WEAK}},
        {dlg.StartButton(), {MainTexts::START, MainTexts::STOP}},
        {dlg.CloseButton(), {MainTexts::CLOSE}}};
    for (const auto& [button, captions] : buttons) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.rect = button->rect();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        for (const char* caption : captions) {
            EXPECT_NE(Tr(caption), QString::fromUtf8(caption)) << caption;
            EXPECT_LE(button->fontMetrics().horizontalAdvance(Tr(caption)), room.width())
                << caption;
        }
    }

    dlg.HistoryDlg()->show();
    dlg.HistoryDlg()->ShowAverages(100, 418000);
    QCoreApplication::processEvents();
    const CHistoryStatusBar* bar = dlg.HistoryDlg()->StatusBar();
    const int partRoom = bar->FirstPartRight() - 8;  // frame and padding
    for (int part : {CHistoryStatusBar::TEMPERATURE_PART, CHistoryStatusBar::HEAT_PART}) {
        EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->Text(part)), partRoom)
            << bar->Text(part).toStdString();
    }
    SetUiLanguage(UiLanguage::Japanese);
}

// Every fatal message has its English text, shown by the program's fatal handler.
TEST(LanguageFit, EveryFatalMessageHasAnEnglishText) {
    ASSERT_TRUE(SetUiLanguage(UiLanguage::English));
    using namespace ViewMessages;
    for (const char* message : {MainTexts::HISTORY_BUTTON_FAILED,
                                MainTexts::PAUSE_BUTTON_FAILED,
                                MainTexts::CENTRE_BUTTON_FAILED,
                                MainTexts::ENDS_BUTTON_FAILED,
                                MainTexts::START_BUTTON_FAILED,
                                MainTexts::CLOSE_BUTTON_FAILED,
                                MSG_CREATE_HISTORY_WINDOW,
                                REGION_CREATE,
                                REGION_DELETE,
                                POLYGON_CREATE,
                                POLYGON_DELETE,
                                BRUSH_CREATE,
                                BRUSH_SELECT,
                                BRUSH_UNSELECT,
                                BRUSH_DETACH,
                                BRUSH_DELETE,
                                PEN_CREATE,
                                PEN_SELECT,
                                PEN_UNSELECT,
                                PEN_DETACH,
                                PEN_DELETE,
                                SurfaceMessages::BITMAP_CREATE,
                                SurfaceMessages::BITMAP_DETACH,
                                SurfaceMessages::BITMAP_SELECT,
                                SurfaceMessages::BITMAP_DELETE,
                                SurfaceMessages::MEMORY_DC_CREATE,
                                SurfaceMessages::MEMORY_DC_DELETE}) {
        EXPECT_TRUE(Tr(message).startsWith("Failed to") || Tr(message).startsWith("Could not"))
            << message;
    }
    SetUiLanguage(UiLanguage::Japanese);
}

// The language is read and written under [Option] Language; a profile that never chose one
// gains no key, an unknown value means Japanese and is left as it was.
TEST(LanguageProfile, KeyIsReadAndWrittenConservatively) {
    const struct {
        const char* stored;  // null: no key
        UiLanguage read;
        UiLanguage written;
        const char* after;  // null: no key
    } cases[] = {
        {nullptr, UiLanguage::Japanese, UiLanguage::Japanese, nullptr},
        {nullptr, UiLanguage::Japanese, UiLanguage::English, "en"},
        {"en", UiLanguage::English, UiLanguage::Japanese, "ja"},
        {"ja", UiLanguage::Japanese, UiLanguage::English, "en"},
        {"fr", UiLanguage::Japanese, UiLanguage::Japanese, "fr"},
        {" en ", UiLanguage::English, UiLanguage::English, "en"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("quorvel.ini");
        if (c.stored != nullptr) {
            QSettings(path, QSettings::IniFormat).setValue("Option/Language", c.stored);
        }
        ProfileValues values = ReadProfile(path);
        EXPECT_EQ(values.language, c.read) << (c.stored ? c.stored : "(none)");
        values.language = c.written;
        WriteProfile(path, values);
        const QSettings written(path, QSettings::IniFormat);
        EXPECT_EQ(written.value("Option/Language").toString(),
                  c.after ? QString(c.after) : QString())
            << (c.stored ? c.stored : "(none)");
    }
}

// The text size is kept under [Option] TextSize as the language is: no key until one other
// than the standard size is chosen, an unknown value read as the standard size and kept.
TEST(TextSizeProfile, KeyIsReadAndWrittenConservatively) {
    const struct {
        const char* stored;  // null: no key
        TextSize read;
        TextSize written;
        const char* after;  // null: no key
    } cases[] = {
        {nullptr, TextSize::Standard, TextSize::Standard, nullptr},
        {nullptr, TextSize::Standard, TextSize::ExtraLarge, "extra-large"},
        {"large", TextSize::Large, TextSize::Standard, "standard"},
        {"huge", TextSize::Standard, TextSize::Standard, "huge"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("quorvel.ini");
        if (c.stored != nullptr) {
            QSettings(path, QSettings::IniFormat).setValue("Option/TextSize", c.stored);
        }
        ProfileValues values = ReadProfile(path);
        EXPECT_EQ(values.textSize, c.read) << (c.stored ? c.stored : "(none)");
        values.textSize = c.written;
        WriteProfile(path, values);
        EXPECT_EQ(QSettings(path, QSettings::IniFormat).value("Option/TextSize").toString(),
                  c.after ? QString(c.after) : QString())
            << (c.stored ? c.stored : "(none)");
    }
}

TEST_F(SimDlgTest, TextSizeMenuSetsTheSizeForTheProfile) {
    Start();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr && action->text() == QString::fromUtf8("文字の大きさ")) {
                const QList<QAction*> sizes = action->menu()->actions();
                ASSERT_EQ(sizes.size(), 3);
                EXPECT_EQ(sizes[0]->text(), QString::fromUtf8("標準"));
                EXPECT_TRUE(sizes[0]->isChecked());
                EXPECT_EQ(sizes[2]->text(), QString::fromUtf8("特大"));
                sizes[2]->trigger();
            }
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            dlg->mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(dlg.get(), &event);
    EXPECT_EQ(dlg->Profile().textSize, TextSize::ExtraLarge);
    EXPECT_EQ(dlg->View().ShownTextSize(), TextSize::Standard);  // 640 x 480 holds no more
    ResizeClient(1200, 900);
    EXPECT_EQ(dlg->View().ShownTextSize(), TextSize::ExtraLarge);
}

// The Guide item opens the built guide's page in the current language, and says so when the
// browser cannot be started.
TEST_F(SimDlgTest, GuideItemOpensThePageOfTheCurrentLanguage) {
    std::vector<QUrl> opened;
    bool browserStarts = true;
    dlg->SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return browserStarts;
    });
    std::vector<QString> messages;
    dlg->SetMessageBoxRunner([&](const QString& text) { messages.push_back(text); });

    PickMenuItem(*dlg, QString::fromUtf8("使い方"));
    PickMenuItem(*dlg, "English");
    PickMenuItem(*dlg, "Guide");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("/guide/ja.html"))
        << opened[0].toString().toStdString();
    EXPECT_TRUE(QFileInfo(opened[0].toLocalFile()).isFile());
    EXPECT_TRUE(opened[1].toLocalFile().endsWith("/guide/en.html"))
        << opened[1].toString().toStdString();
    EXPECT_TRUE(messages.empty());

    browserStarts = false;
    PickMenuItem(*dlg, "Guide");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("The guide's page could not be found or opened:"));
    EXPECT_TRUE(messages[0].endsWith(opened[1].toLocalFile()));
}

// A language chosen in one session is the language of the next one from its first text.
TEST(LanguageProfile, ChoiceSurvivesARestart) {
    QTemporaryDir dir;
    const QString path = dir.filePath("quorvel.ini");
    RunMainWindow(path, [](CSimDlg& dlg) {
        dlg.DoModalWithoutLoop();
        EXPECT_EQ(dlg.StartButton()->text(), QString::fromUtf8("スタート"));
        dlg.SetLanguage(UiLanguage::English);
        dlg.CloseButton()->click();
    });
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value("Option/Language"), "en");
    RunMainWindow(path, [](CSimDlg& dlg) {
        EXPECT_EQ(dlg.StartButton()->text(), "Start");  // before any event is processed
        dlg.DoModalWithoutLoop();
        EXPECT_EQ(dlg.HistoryDlg()->windowTitle(), "History Window");
        dlg.SetLanguage(UiLanguage::Japanese);
        dlg.CloseButton()->click();
    });
    EXPECT_EQ(ReadProfile(path).language, UiLanguage::Japanese);
}

}  // namespace
