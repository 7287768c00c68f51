#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "EscapeControls.h"
#include "MainTexts.h"
#include "RunSpeed.h"
#include "SettingsForm.h"
#include "SettingsTemplate.h"
#include "SettingsWarning.h"
#include "WebApp.h"

namespace {

// The dialog's texts as it opened, one per numeric field.
std::vector<std::string> Shown(const WebApp& app) {
    std::vector<std::string> texts;
    const std::optional<SettingsFormView> view = app.SettingsView();
    for (const SettingsFormField& field : view->fields) {
        texts.push_back(field.text);
    }
    return texts;
}

std::size_t IndexOf(int id) {
    const std::vector<SettingsFormField> fields = CSettingsForm().View().fields;
    std::size_t index = 0;
    while (index < fields.size() && fields[index].id != id) {
        ++index;
    }
    return index;
}

// Values from the address: taken, or named with what they may be and left at the default.
TEST(WebApp, AddressValuesAreTakenOrNamed) {
    struct Case {
        const char* name;
        const char* value;
        const char* error;  // empty: taken
    };
    const Case cases[] = {
        {"columns", "30", ""},
        {"rows", "500", "rows=500 (3 - 80)"},
        {"convection-ratio", "0.25", ""},
        {"cooling", "1e999", "cooling=1e999"},
        {"history-interval", "7", ""},
        {"ends", "strong", ""},
        {"centre", "hot", "centre=hot (off, strong, medium, weak)"},
        {"seed", "-1", "seed=-1 (0 - 4294967295)"},
        {"speed", "max", ""},
        {"speed", "5", "speed=5 (1, 10, 100, 1000, 10000, max)"},
        {"step-interval", "1", "step-interval=1 (?)"},
    };
    WebApp app;
    for (const Case& c : cases) {
        EXPECT_EQ(app.ApplyOption(c.name, c.value), c.error) << c.name << "=" << c.value;
    }
    EXPECT_EQ(app.Control().Speed(), 5);
    EXPECT_STREQ(app.Control().EndsCaption(), "中火(両端)");
    EXPECT_STREQ(app.Control().CentreCaption(), "弱火(中央)");
    ASSERT_TRUE(app.StartStop());
    const std::vector<std::string> shown = Shown(app);
    EXPECT_EQ(shown[IndexOf(IDC_COLUMNS)], "30");
    EXPECT_EQ(shown[IndexOf(IDC_ROWS)], "20");
    EXPECT_EQ(shown[IndexOf(IDC_CONVECTION_RATIO)], "0.25");
    EXPECT_EQ(shown[IndexOf(IDC_COOLING_COEFFICIENT)], "0.6");
    EXPECT_EQ(shown[IndexOf(IDC_HISTORY_INTERVAL)], "7");
}

// An option given twice is refused with none of its values used, as the runner refuses it;
// what the address holds is quoted escaped and cut short.
TEST(WebApp, AddressRefusesRepeatsAndQuotesSafely) {
    WebApp app;
    const std::vector<std::string> errors = app.ApplyAddress({{"seed", "1"},
                                                              {"rows", "9"},
                                                              {"seed", "2"},
                                                              {"columns", "a\nb\x1b"},
                                                              {"seed", "3"},
                                                              {"ends", std::string(5000, 'x')}});
    ASSERT_EQ(errors.size(), 3U);
    EXPECT_EQ(errors[0], "seed given twice (each option may be given once)");
    EXPECT_EQ(errors[1], "columns=a\\nb\\x1b (3 - 80)");
    EXPECT_EQ(errors[2].rfind(
                  "ends=" + std::string(SHOWN_VALUE_LENGTH, 'x') + "\u2026 (5000 bytes) (off,", 0),
              0U);
    ASSERT_TRUE(app.StartStop());
    EXPECT_EQ(Shown(app)[IndexOf(IDC_ROWS)], "9");
    EXPECT_GT(app.Seed(), 3U);  // the clock's seed, none of those given
}

// A start takes two calls in a page: the dialog opens with the pause button pressable, a
// refused field keeps it open, a cancel leaves the run as it was, and OK starts.
TEST(WebApp, StartWaitsForTheDialogsAnswer) {
    WebApp app;
    ASSERT_TRUE(app.Resize(640, 480));
    ASSERT_TRUE(app.StartStop());
    EXPECT_TRUE(app.ShownButtons().pauseEnabled);
    std::vector<std::string> texts = Shown(app);
    texts[IndexOf(IDC_ROWS)] = "81";
    const SettingsFormAnswer refused = app.AnswerStart(texts, false);
    EXPECT_EQ(refused.kind, SettingsFormAnswer::Kind::Refused);
    EXPECT_EQ(refused.field, IDC_ROWS);
    EXPECT_EQ(refused.message, "3 から 80 までの整数を入力してください。");
    EXPECT_TRUE(app.SettingsView().has_value());
    app.CancelStart();
    EXPECT_FALSE(app.SettingsView().has_value());
    EXPECT_EQ(app.ShownButtons(), app.Control().Buttons());
    EXPECT_FALSE(app.ShownButtons().pauseEnabled);
    EXPECT_FALSE(app.Control().HasStarted());

    ASSERT_TRUE(app.StartStop());
    texts[IndexOf(IDC_ROWS)] = " 12 ";
    EXPECT_EQ(app.AnswerStart(texts, false).kind, SettingsFormAnswer::Kind::Start);
    EXPECT_EQ(app.Control().State(), RunState::Running);
    EXPECT_STREQ(app.ShownButtons().startCaption, MainTexts::STOP);
    EXPECT_TRUE(app.TimerOn());
    EXPECT_EQ(app.TimerPeriod(), 5);
    for (int i = 0; i < 50; ++i) {
        app.OnTimer();
    }
    EXPECT_EQ(app.TicksRun(), 50);
    EXPECT_EQ(app.HistoryCsv().rfind("tick,", 0), 0U);

    // Stopped, then continued: the grid's fields are locked, so a bad text there is not read.
    EXPECT_FALSE(app.StartStop());
    EXPECT_FALSE(app.TimerOn());
    ASSERT_TRUE(app.StartStop());
    EXPECT_TRUE(app.SettingsView()->continueRun);
    texts = Shown(app);
    EXPECT_EQ(texts[IndexOf(IDC_ROWS)], "12");
    texts[IndexOf(IDC_COLUMNS)] = "abc";
    EXPECT_EQ(app.AnswerStart(texts, false).kind, SettingsFormAnswer::Kind::Start);
    EXPECT_EQ(app.TicksRun(), 50);
    EXPECT_EQ(app.View().Frame().Width(), 640);
}

// The page's title: a command's at once, the ticks' of a fast run at most every 100 ms; and
// the history panel, made once for each new size, with the averages of the run.
TEST(WebApp, TitleAndHistoryPanelFollowTheRun) {
    WebApp app;
    ASSERT_TRUE(app.Resize(640, 480));
    EXPECT_EQ(app.TitleToShow(0.0), "Quorvel Ver. 3.1");
    EXPECT_FALSE(app.TitleToShow(500.0).has_value());
    EXPECT_TRUE(app.ResizeGraph(300, 222));
    EXPECT_FALSE(app.ResizeGraph(300, 222));
    EXPECT_FALSE(app.ResizeGraph(99, 222));
    EXPECT_EQ(app.GraphHeight(), 200);
    EXPECT_EQ(app.HistoryStatus(CHistoryPanel::TEMPERATURE_PART), "Average Temperature");

    ASSERT_TRUE(app.StartStop());
    ASSERT_EQ(app.AnswerStart(Shown(app), false).kind, SettingsFormAnswer::Kind::Start);
    app.ChooseMenuItem(
        static_cast<MenuId>(static_cast<int>(MenuId::SpeedFirst) + RunSpeed::FASTEST - 1));
    EXPECT_EQ(app.TitleToShow(1000.0), app.Control().Title());  // the new speed's
    app.GraphRgba();
    app.OnTimer();
    EXPECT_TRUE(app.GraphChanged());
    EXPECT_FALSE(app.TitleToShow(1099.0).has_value());
    EXPECT_EQ(app.TitleToShow(1100.0), app.Control().Title());
    EXPECT_FALSE(app.TitleToShow(1300.0).has_value());  // no ticks since
    app.OnTimer();
    ASSERT_TRUE(app.HoldTimer());  // no more ticks to come: the last count at once
    EXPECT_EQ(app.TitleToShow(1301.0), app.Control().Title());
    app.ReleaseTimer(true);
    EXPECT_EQ(app.HistoryStatus(CHistoryPanel::TEMPERATURE_PART).rfind("平均温度: ", 0), 0U);
    app.SetEnglish(true);
    EXPECT_EQ(app.HistoryStatus(CHistoryPanel::HEAT_PART).rfind("Avg. heat: ", 0), 0U);
}

// Unsound settings are refused with their warning and the field to return to until the user
// chooses to run them.
TEST(WebApp, UnsoundSettingsWaitForTheUsersChoice) {
    WebApp app;
    ASSERT_TRUE(app.Resize(640, 480));
    ASSERT_TRUE(app.StartStop());
    std::vector<std::string> texts = Shown(app);
    texts[IndexOf(IDC_CONDUCTION_COEFFICIENT)] = "0.5";
    const SettingsFormAnswer asked = app.AnswerStart(texts, false);
    EXPECT_EQ(asked.kind, SettingsFormAnswer::Kind::Unsound);
    EXPECT_EQ(asked.field, IDC_CONDUCTION_COEFFICIENT);
    EXPECT_EQ(asked.message.rfind(WarningTexts::UNSTABLE, 0), 0U);
    EXPECT_FALSE(app.Control().HasStarted());
    EXPECT_EQ(app.AnswerStart(texts, true).kind, SettingsFormAnswer::Kind::Start);
    EXPECT_EQ(app.Control().State(), RunState::Running);
}

}  // namespace

// The page's menu: without the desktop's window positions, run files and text sizes, the
// guide when the site has one, the language the page shows checked.
TEST(WebApp, TheMenuIsThePagesPartOfTheDesktops) {
    WebApp app;
    const auto ids = [&app] {
        std::vector<MenuId> top;
        for (const MenuItem& item : app.Menu()) {
            top.push_back(item.id);
        }
        return top;
    };
    using enum MenuId;
    EXPECT_EQ(ids(), (std::vector<MenuId>{About, Speeds, SingleStep, SavePicture, SaveHistory, None,
                                          English, Japanese}));
    app.SetGuideShown(true);
    app.SetMenuLanguage(MenuLanguage::English);
    EXPECT_EQ(ids().back(), Guide);
    EXPECT_TRUE(app.Menu()[6].checked);
    EXPECT_EQ(app.ChooseMenuItem(SaveRun), MenuOutcome{});
    EXPECT_EQ(app.ChooseMenuItem(Guide).action, MenuAction::OpenGuide);
    app.ChooseMenuItem(Faster);
    EXPECT_EQ(app.Control().Speed(), 1);
}
