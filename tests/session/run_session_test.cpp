// The run session as every front end drives it: what each command reports as changed, so that
// a front end that shows exactly those changes shows what the window always showed.
#include <gtest/gtest.h>

#include "MainTexts.h"
#include "RunSession.h"
#include "RunSpeed.h"

namespace {

// Every flag a change set holds, for readable failures.
std::string Names(const Changes& changes) {
    static const std::pair<Shown, const char*> names[] = {{Shown::RunButtons, "RunButtons"},
                                                          {Shown::BurnerCaptions, "BurnerCaptions"},
                                                          {Shown::Title, "Title"},
                                                          {Shown::Frame, "Frame"},
                                                          {Shown::Ticks, "Ticks"},
                                                          {Shown::BackToBack, "BackToBack"},
                                                          {Shown::Averages, "Averages"},
                                                          {Shown::Panel, "Panel"},
                                                          {Shown::GraphReset, "GraphReset"},
                                                          {Shown::GraphStale, "GraphStale"},
                                                          {Shown::Divergence, "Divergence"},
                                                          {Shown::StepTimer, "StepTimer"},
                                                          {Shown::SettingsAsked, "SettingsAsked"}};
    std::string text;
    for (const auto& [flag, name] : names) {
        if (changes.Has(flag)) {
            text += text.empty() ? name : std::string("|") + name;
        }
    }
    return text;
}

class RunSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.Simulation().SetSeed(1);
        ASSERT_TRUE(session.Resize(400, 300));
    }
    // Opens the settings dialog and answers it with what it shows.
    Changes StartAsShown() {
        session.StartStop();
        return session.Start(StartAnswer{session.Request()->current, false});
    }
    CRunSession session;
};

TEST_F(RunSessionTest, AStartGoesThroughTheDialogsRequest) {
    const Changes asked = session.StartStop();
    EXPECT_EQ(Names(asked), "RunButtons|Frame|SettingsAsked");
    ASSERT_TRUE(session.Request());
    EXPECT_FALSE(session.Request()->canContinue);
    // While the dialog is open the pause button can be pressed; the start button shows start.
    EXPECT_TRUE(session.Buttons().pauseEnabled);
    EXPECT_STREQ(session.Buttons().startCaption, MainTexts::START);

    const Changes cancelled = session.CancelStart();
    EXPECT_EQ(Names(cancelled), "RunButtons");
    EXPECT_FALSE(session.Request());
    EXPECT_FALSE(session.Buttons().pauseEnabled);
    EXPECT_EQ(Names(session.CancelStart()), "");  // nothing open: nothing changes

    const Changes started = StartAsShown();
    EXPECT_EQ(Names(started), "RunButtons|Title|Frame|Panel|GraphReset|StepTimer");
    EXPECT_EQ(session.StepTimerPeriod(), session.Simulation().StepInterval());
    EXPECT_STREQ(session.Buttons().startCaption, MainTexts::STOP);
    EXPECT_EQ(session.Control().State(), RunState::Running);
}

TEST_F(RunSessionTest, TimerMessagesReportTheirTicksAtTheirPace) {
    StartAsShown();
    EXPECT_EQ(Names(session.Timer()), "Ticks|Averages|Panel");
    ASSERT_TRUE(session.Averages());
    session.SetSpeed(RunSpeed::FASTEST);
    EXPECT_TRUE(session.Timer().Has(Shown::BackToBack));
    EXPECT_EQ(Names(session.SetSpeed(0)), "Title");
}

TEST_F(RunSessionTest, AHeldTimerStartsAgainOnlyIfItRan) {
    const Changes idle = session.HoldTimer();
    EXPECT_EQ(Names(idle), "");
    EXPECT_EQ(Names(session.ReleaseTimer(idle)), "");
    EXPECT_EQ(session.StepTimerPeriod(), 0);

    StartAsShown();
    const Changes held = session.HoldTimer();
    EXPECT_EQ(Names(held), "StepTimer");
    EXPECT_EQ(session.StepTimerPeriod(), 0);
    EXPECT_EQ(Names(session.ReleaseTimer(held)), "StepTimer");
    EXPECT_EQ(session.StepTimerPeriod(), session.Simulation().StepInterval());
}

TEST_F(RunSessionTest, InspectionWaitsForTheFirstRun) {
    EXPECT_EQ(Names(session.MouseMove(100, 100)), "");
    EXPECT_FALSE(session.OnCursorKey(CursorKey::Right));
    EXPECT_EQ(session.PanelText(), "");
    StartAsShown();
    EXPECT_EQ(Names(*session.OnCursorKey(CursorKey::Right)), "Frame|Panel");
    EXPECT_EQ(Names(*session.OnCursorKey(CursorKey::Leave)), "Frame|Panel");
    EXPECT_FALSE(session.OnCursorKey(CursorKey::Leave));  // no cursor left to leave
    EXPECT_NE(session.PanelText(), "");
    EXPECT_FALSE(session.Resize(10, 10));  // too small: the layout stays
}

}  // namespace
