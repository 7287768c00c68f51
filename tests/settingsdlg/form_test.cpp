// The form: controls, texts, places, tab order, font, and the real message boxes.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

#include "DialogUnits.h"
#include "SettingsDialogFixture.h"
#include "Translations.h"

namespace {

QString ItemText(const SettingsItem& item) {
    return Tr(item.text);
}

TEST_F(SettingsDialogTest, WindowHasTheCaptionFontAndTemplateSize) {
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("シミュレーション設定"));
    EXPECT_EQ(dlg->font().pointSize(), 9);
    if (QFontInfo(dlg->font()).family() == QStringLiteral("Noto Sans CJK JP")) {
        // Base units 7 x 12: 243 x 311 dialog units.
        EXPECT_EQ(dlg->size(), QSize(425, 467));
    }
    const DialogUnits units(dlg->font());
    EXPECT_EQ(dlg->size(), units.ToPixels(QSize(243, 311)));
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize()) << "a modal frame cannot be resized";
}

// With a title bar and frame of up to 40 px, on a 1280 x 720 screen whose desktop keeps up to
// 40 px for a panel, the whole dialog is on the screen.
TEST_F(SettingsDialogTest, FitsA1280x720ScreenWithItsTitleBar) {
    EXPECT_LE(dlg->width() + 40, 1280);
    EXPECT_LE(dlg->height() + 40 + 40, 720);
}

TEST_F(SettingsDialogTest, EveryTemplateControlExistsWithItsIdTextAndPlace) {
    const DialogUnits units(dlg->font());
    ASSERT_EQ(SETTINGS_ITEM_COUNT, 36u);
    for (std::size_t i = 0; i < SETTINGS_ITEM_COUNT; ++i) {
        const SettingsItem& item = SETTINGS_ITEMS[i];
        SCOPED_TRACE(testing::Message() << i << " " << item.text);
        QWidget* w = dlg->ControlAt(i);
        ASSERT_NE(w, nullptr);
        // Text controls are at least one line high, grown about the middle of their place.
        EXPECT_EQ(w->geometry(), units.ToTextPixels(QRect(item.x, item.y, item.cx, item.cy)));
        if (item.id != IDC_STATIC) {
            EXPECT_EQ(dlg->GetDlgItem(item.id), w);
            EXPECT_EQ(w->property("controlId").toInt(), item.id);
        }
        switch (item.kind) {
            case ITEM_GROUP_BOX:
                ASSERT_NE(qobject_cast<QGroupBox*>(w), nullptr);
                EXPECT_EQ(qobject_cast<QGroupBox*>(w)->title(), ItemText(item));
                break;
            case ITEM_STATIC:
                ASSERT_NE(qobject_cast<QLabel*>(w), nullptr);
                EXPECT_EQ(qobject_cast<QLabel*>(w)->text(), ItemText(item));
                break;
            case ITEM_EDIT:
                ASSERT_NE(qobject_cast<QLineEdit*>(w), nullptr);
                EXPECT_EQ(w->objectName(), QStringLiteral("edit%1").arg(item.id));
                break;
            case ITEM_AUTO_CHECK_BOX:
                ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr);
                EXPECT_EQ(qobject_cast<QCheckBox*>(w)->text(), ItemText(item));
                break;
            case ITEM_DEF_PUSH_BUTTON:
            case ITEM_PUSH_BUTTON:
                ASSERT_NE(qobject_cast<QPushButton*>(w), nullptr);
                EXPECT_EQ(qobject_cast<QPushButton*>(w)->text(), ItemText(item));
                EXPECT_EQ(qobject_cast<QPushButton*>(w)->isDefault(),
                          item.kind == ITEM_DEF_PUSH_BUTTON);
                break;
        }
    }
    EXPECT_EQ(dlg->ControlAt(SETTINGS_ITEM_COUNT), nullptr);
    EXPECT_EQ(dlg->GetDlgItem(9999), nullptr);
}

TEST_F(SettingsDialogTest, TabVisitsTheControlsInTemplateOrder) {
    Open(SimulationSettings{}, true);
    QTest::mouseClick(dlg->GetDlgItem(IDC_CONTINUE), Qt::LeftButton);  // enable everything

    const int expected[] = {IDC_INITIAL_TEMPERATURE,
                            IDC_CONVECTION_RATIO,
                            IDC_COLUMNS,
                            IDC_ROWS,
                            IDC_STRONG_FLAME_POWER,
                            IDC_MEDIUM_FLAME_POWER,
                            IDC_WEAK_FLAME_POWER,
                            IDC_CONDUCTION_COEFFICIENT,
                            IDC_COOLING_COEFFICIENT,
                            IDC_ROOM_TEMPERATURE,
                            IDC_STEP_INTERVAL,
                            IDC_HISTORY_INTERVAL,
                            IDC_CONTINUE,
                            IDC_SETTINGS_OK,
                            IDC_SETTINGS_CANCEL,
                            IDC_DEFAULT,
                            IDC_INITIAL_TEMPERATURE};
    Edit(IDC_INITIAL_TEMPERATURE)->setFocus(Qt::TabFocusReason);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->property("controlId").toInt(), expected[i]) << "stop " << i;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
}

// A text is clipped when it is wider than the room its control leaves for it.
class NoClippingTest : public SettingsDialogTest, public ::testing::WithParamInterface<UiLanguage> {
protected:
    // The dialog exists before the switch, so it is retranslated while it is open.
    void SetUp() override {
        SettingsDialogTest::SetUp();
        Open();
        ASSERT_TRUE(SetUiLanguage(GetParam()));
        QCoreApplication::processEvents();
    }
    void TearDown() override { SetUiLanguage(UiLanguage::Japanese); }
};

TEST_P(NoClippingTest, NoTextIsClipped) {
    if (GetParam() == UiLanguage::English) {
        EXPECT_EQ(dlg->windowTitle(), "Simulation Settings");
        EXPECT_EQ(qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDC_CONTINUE))->text(),
                  "Con&tinue the run");
    }
    for (std::size_t i = 0; i < SETTINGS_ITEM_COUNT; ++i) {
        const SettingsItem& item = SETTINGS_ITEMS[i];
        QWidget* w = dlg->ControlAt(i);
        const QFontMetrics fm = w->fontMetrics();
        const QSize text = fm.size(Qt::TextShowMnemonic, ItemText(item));
        QRect room;
        switch (item.kind) {
            case ITEM_EDIT:
                continue;
            case ITEM_GROUP_BOX: {
                // The title sits on the frame, inset by a few pixels at either end.
                room = w->rect().adjusted(8, 0, -8, 0);
                break;
            }
            case ITEM_STATIC:
                room = qobject_cast<QLabel*>(w)->contentsRect();
                break;
            case ITEM_AUTO_CHECK_BOX:
            case ITEM_DEF_PUSH_BUTTON:
            case ITEM_PUSH_BUTTON: {
                auto* button = qobject_cast<QAbstractButton*>(w);
                QStyleOptionButton option;
                option.initFrom(button);
                option.rect = button->rect();
                option.text = button->text();
                room = button->style()->subElementRect(item.kind == ITEM_AUTO_CHECK_BOX
                                                           ? QStyle::SE_CheckBoxContents
                                                           : QStyle::SE_PushButtonContents,
                                                       &option, button);
                break;
            }
        }
        EXPECT_LE(text.width(), room.width()) << item.text;
        EXPECT_LE(fm.height(), w->height()) << item.text;
        EXPECT_TRUE(dlg->rect().contains(w->geometry())) << item.text;
        // Controls grown to a whole line must not cover one another, nor a group's title.
        for (std::size_t j = 0; j < i && item.kind != ITEM_GROUP_BOX; ++j) {
            const QRect other = dlg->ControlAt(j)->geometry();
            if (SETTINGS_ITEMS[j].kind != ITEM_GROUP_BOX) {
                EXPECT_FALSE(w->geometry().intersects(other))
                    << item.text << " / " << SETTINGS_ITEMS[j].text;
            } else if (other.intersects(w->geometry())) {
                EXPECT_TRUE(other.adjusted(0, fm.height(), 0, 0).contains(w->geometry()))
                    << item.text << " in " << SETTINGS_ITEMS[j].text;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, NoClippingTest,
                         ::testing::Values(UiLanguage::Japanese, UiLanguage::English));

// Each field's tooltip names its meaning and unit and, for a checked field, the bounds the
// dialog checks it against.
TEST_F(SettingsDialogTest, FieldTooltipsNameUnitsAndTheCheckedRanges) {
    const struct {
        int id;
        const char* japanese;
        const char* english;
    } tips[] = {
        {IDC_INITIAL_TEMPERATURE, "℃]。0 ～ 100 の整数", "in °C: an integer from 0 to 100"},
        {IDC_CONVECTION_RATIO, "0 ～ 1 の数値", "a number from 0 to 1"},
        {IDC_COLUMNS, "3 ～ 80 の整数", "an integer from 3 to 80"},
        {IDC_ROWS, "3 ～ 80 の整数", "an integer from 3 to 80"},
        {IDC_STRONG_FLAME_POWER, "[cal/ティック]", "in cal per tick: any integer"},
        {IDC_WEAK_FLAME_POWER, "[cal/ティック]", "in cal per tick: any integer"},
        {IDC_STEP_INTERVAL, "[ms] (速度 ×1 のとき)。1 ～ 2000 の整数",
         "in ms: an integer from 1 to 2000"},
        {IDC_HISTORY_INTERVAL, "[ティック]", "in ticks"},
        {IDC_ROOM_TEMPERATURE, "室温 [℃]", "in °C: any integer"},
        {IDC_CONTINUE, "続きから", "Continues the stopped run"},
    };
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        ASSERT_TRUE(SetUiLanguage(language));
        QCoreApplication::processEvents();
        for (const auto& tip : tips) {
            const char* part = language == UiLanguage::English ? tip.english : tip.japanese;
            EXPECT_TRUE(dlg->GetDlgItem(tip.id)->toolTip().contains(QString::fromUtf8(part)))
                << tip.id << ": " << dlg->GetDlgItem(tip.id)->toolTip().toStdString();
        }
    }
    SetUiLanguage(UiLanguage::Japanese);
}

// The prompts and the DEFAULT confirmation follow the language.
TEST_F(SettingsDialogTest, PromptsAndConfirmationInEnglish) {
    ASSERT_TRUE(SetUiLanguage(UiLanguage::English));
    Open();
    Type(IDC_STEP_INTERVAL, "0");
    EXPECT_FALSE(PressOk());
    Type(IDC_STEP_INTERVAL, "x");
    EXPECT_FALSE(PressOk());
    Click(IDC_DEFAULT);
    SetUiLanguage(UiLanguage::Japanese);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, "Please enter an integer from 1 to 2000.");
    EXPECT_EQ(messages[1].text, "Please enter an integer.");
    EXPECT_EQ(messages[2].text, "All values will be reset to their defaults.");
    EXPECT_EQ(messages[2].caption, "Confirm");
}

// The template leaves half a line above a group's first control: the frame's top line runs
// through the middle of the title, not below a title line of its own.
TEST_F(SettingsDialogTest, GroupFramesRunThroughTheMiddleOfTheirTitles) {
    Open();
    for (std::size_t i = 0; i < SETTINGS_ITEM_COUNT; ++i) {
        if (SETTINGS_ITEMS[i].kind != ITEM_GROUP_BOX) {
            continue;
        }
        QWidget* box = dlg->ControlAt(i);
        const QImage image = box->grab().toImage();
        const QRgb background = box->palette().color(QPalette::Window).rgb();
        const int middle = box->fontMetrics().height() / 2;
        const int x = box->width() - 10;  // right of the title
        EXPECT_NE(image.pixel(x, middle), background) << SETTINGS_ITEMS[i].text;
        EXPECT_EQ(image.pixel(x, middle + 4), background) << SETTINGS_ITEMS[i].text;
    }
}

// Answers the next message box the dialog opens, after recording what it shows.
struct ShownBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    QString cancelText;
};

void AnswerNextMessageBox(QMessageBox::StandardButton button, ShownBox& shown) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, button, &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        shown.seen = true;
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.icon = box->icon();
        shown.buttons = box->standardButtons();
        if (QAbstractButton* cancel = box->button(QMessageBox::Cancel)) {
            shown.cancelText = cancel->text();
        }
        timer->stop();
        timer->deleteLater();
        box->button(button)->click();
    });
    timer->start();
}

// With the platform's Japanese translations, as the program loads them, the standard buttons
// read as on a Japanese desktop; the dialog's own texts stay as they are.
TEST(SettingsDialogMessageBox, DefaultAsksWithARealOkCancelBoxWithoutIcon) {
    const std::unique_ptr<QTranslator> translator(
        InstallPlatformTranslations(*QCoreApplication::instance()));
    ASSERT_NE(translator, nullptr) << "qtbase_ja is missing (Debian qt6-translations-l10n)";
    CSettingsDlg dlg;
    dlg.SetSettings(CustomSettings());
    dlg.show();
    ShownBox shown;
    AnswerNextMessageBox(QMessageBox::Cancel, shown);
    QTest::mouseClick(dlg.GetDlgItem(IDC_DEFAULT), Qt::LeftButton);

    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.title, QStringLiteral("確認"));
    EXPECT_EQ(shown.text, QStringLiteral("各値をデフォルト値に戻します。"));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(shown.cancelText, QStringLiteral("キャンセル"));
    EXPECT_EQ(qobject_cast<QPushButton*>(dlg.GetDlgItem(IDC_SETTINGS_CANCEL))->text(),
              QStringLiteral("&CANCEL"));
    EXPECT_EQ(qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_ROWS))->text(), QStringLiteral("30"));

    AnswerNextMessageBox(QMessageBox::Ok, shown);
    QTest::mouseClick(dlg.GetDlgItem(IDC_DEFAULT), Qt::LeftButton);
    EXPECT_EQ(qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_ROWS))->text(), QStringLiteral("20"));
}

TEST(SettingsDialogMessageBox, PromptIsARealOkBoxTitledWithTheApplicationName) {
    CSettingsDlg dlg;
    dlg.SetSettings(CustomSettings());
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    auto* edit = qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_CONVECTION_RATIO));
    edit->setText(QStringLiteral("abc"));

    ShownBox shown;
    AnswerNextMessageBox(QMessageBox::Ok, shown);
    QTest::mouseClick(dlg.GetDlgItem(IDC_SETTINGS_OK), Qt::LeftButton);

    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.title, QApplication::applicationName());
    EXPECT_EQ(shown.text, QStringLiteral("数値を入力してください。"));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(dlg.isVisible());
    // The field is given the focus after the box has closed, so the box cannot take it away.
    EXPECT_EQ(dlg.focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("abc"));
}

}  // namespace
