// The continue check box, DEFAULT and the ways of leaving the dialog without OK.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "SettingsDialogFixture.h"

namespace {

constexpr int LOCKED_BY_CONTINUE[] = {IDC_INITIAL_TEMPERATURE, IDC_COLUMNS, IDC_ROWS};
constexpr int NEVER_LOCKED[] = {
    IDC_CONVECTION_RATIO, IDC_CONDUCTION_COEFFICIENT, IDC_COOLING_COEFFICIENT,
    IDC_ROOM_TEMPERATURE, IDC_STRONG_FLAME_POWER,     IDC_MEDIUM_FLAME_POWER,
    IDC_WEAK_FLAME_POWER, IDC_STEP_INTERVAL,          IDC_HISTORY_INTERVAL};

class ContinueTest : public SettingsDialogTest {
protected:
    QCheckBox* Box() const { return qobject_cast<QCheckBox*>(dlg->GetDlgItem(IDC_CONTINUE)); }

    // The three grid-defining edits are enabled exactly for a fresh start; the rest always.
    void ExpectLocked(bool locked) {
        for (const int id : LOCKED_BY_CONTINUE) {
            EXPECT_EQ(Edit(id)->isEnabled(), !locked) << id;
        }
        for (const int id : NEVER_LOCKED) {
            EXPECT_TRUE(Edit(id)->isEnabled()) << id;
        }
    }
};

TEST_F(ContinueTest, WithoutAStoppedRunTheBoxIsOffAndDisabled) {
    Open(CustomSettings(), false);
    EXPECT_EQ(dlg->m_chkContinue, Box());
    EXPECT_FALSE(Box()->isEnabled());
    EXPECT_FALSE(Box()->isChecked());
    ExpectLocked(false);

    QTest::mouseClick(Box(), Qt::LeftButton);
    EXPECT_FALSE(Box()->isChecked()) << "a disabled box cannot be ticked";

    EXPECT_TRUE(PressOk());
    EXPECT_FALSE(dlg->Settings().continueRun);
}

TEST_F(ContinueTest, AfterAStopTheDialogOpensTickedAndTheBoxSwitchesTheLock) {
    Open(CustomSettings(), true);
    EXPECT_TRUE(Box()->isEnabled());
    EXPECT_TRUE(Box()->isChecked());
    EXPECT_EQ(dlg->continueRun, 1);
    ExpectLocked(true);

    QTest::mouseClick(Box(), Qt::LeftButton);
    EXPECT_FALSE(Box()->isChecked());
    EXPECT_EQ(dlg->continueRun, 0);
    ExpectLocked(false);

    QTest::mouseClick(Box(), Qt::LeftButton);
    EXPECT_TRUE(Box()->isChecked());
    EXPECT_EQ(dlg->continueRun, 1);
    ExpectLocked(true);

    // The keyboard works the same way.
    Box()->setFocus();
    QTest::keyClick(Box(), Qt::Key_Space);
    EXPECT_EQ(dlg->continueRun, 0);
    ExpectLocked(false);
}

TEST_F(ContinueTest, OkWhileContinuingReportsItAndKeepsTheLockedValues) {
    Open(CustomSettings(), true);
    Type(IDC_STEP_INTERVAL, QStringLiteral("25"));
    EXPECT_TRUE(PressOk());
    const SimulationSettings s = dlg->Settings();
    EXPECT_TRUE(s.continueRun);
    EXPECT_EQ(s.stepIntervalMs, 25);
    EXPECT_EQ(s.initialTemperature, 50);
    EXPECT_EQ(s.columns, 40);
    EXPECT_EQ(s.rows, 30);
}

TEST_F(ContinueTest, UntickedOkMeansAFreshStartWithTheNewGrid) {
    Open(CustomSettings(), true);
    QTest::mouseClick(Box(), Qt::LeftButton);
    Type(IDC_COLUMNS, QStringLiteral("3"));
    Type(IDC_ROWS, QStringLiteral("3"));
    EXPECT_TRUE(PressOk());
    EXPECT_FALSE(dlg->Settings().continueRun);
    EXPECT_EQ(dlg->Settings().columns, 3);
    EXPECT_EQ(dlg->Settings().rows, 3);
}

TEST_F(ContinueTest, EachOpeningStartsFromTheCallersState) {
    Open(CustomSettings(), true);
    QTest::mouseClick(Box(), Qt::LeftButton);
    Click(IDC_SETTINGS_CANCEL);

    Open(CustomSettings(), true);
    EXPECT_TRUE(Box()->isChecked()) << "offered ticked again";
    ExpectLocked(true);
    Click(IDC_SETTINGS_CANCEL);

    Open(CustomSettings(), false);
    EXPECT_FALSE(Box()->isChecked());
    EXPECT_FALSE(Box()->isEnabled());
    ExpectLocked(false);
}

// On opening, the first field that can be edited has the focus with its whole text selected,
// so typing replaces the value; continuing locks the first field, so the next one has it.
TEST_F(ContinueTest, TypingOnOpeningReplacesTheFirstEditableField) {
    const struct {
        bool canContinue;
        int id;
        const char* typed;
    } cases[] = {{false, IDC_INITIAL_TEMPERATURE, "50"}, {true, IDC_CONVECTION_RATIO, "0.5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.canContinue);
        Reset();
        for (int opening = 0; opening < 2; ++opening) {
            Open(SimulationSettings{}, c.canContinue);
            QWidget* focus = QApplication::focusWidget();
            ASSERT_EQ(focus, Edit(c.id)) << "opening " << opening;
            QTest::keyClicks(focus, QString::fromUtf8(c.typed));
            EXPECT_EQ(Edit(c.id)->text(), QString::fromUtf8(c.typed)) << "opening " << opening;
            Edit(IDC_HISTORY_INTERVAL)->setFocus();  // the next opening starts afresh
            Click(IDC_SETTINGS_CANCEL);
        }
    }
}

using DefaultTest = ContinueTest;

TEST_F(DefaultTest, AsksFirstAndChangesNothingWhenRefused) {
    Open(CustomSettings(), false);
    Type(IDC_CONVECTION_RATIO, QStringLiteral("abc"));
    answer = false;
    Click(IDC_DEFAULT);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("各値をデフォルト値に戻します。"));
    EXPECT_EQ(messages[0].caption, QStringLiteral("確認"));
    EXPECT_TRUE(messages[0].okCancel);
    EXPECT_EQ(Edit(IDC_CONVECTION_RATIO)->text(), QStringLiteral("abc"));
    EXPECT_EQ(Edit(IDC_INITIAL_TEMPERATURE)->text(), QStringLiteral("50"));
    EXPECT_TRUE(dlg->Settings() == CustomSettings());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(DefaultTest, ConfirmedItReplacesEveryFieldAndLeavesTheCheckBoxAlone) {
    const struct {
        bool canContinue;
        bool untick;
    } cases[] = {{false, false}, {true, false}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.canContinue << c.untick);
        Reset();
        Open(CustomSettings(), c.canContinue);
        if (c.untick) {
            QTest::mouseClick(Box(), Qt::LeftButton);
        }
        const bool ticked = c.canContinue && !c.untick;
        Type(IDC_CONVECTION_RATIO, QStringLiteral("abc"));
        Type(IDC_HISTORY_INTERVAL, QStringLiteral("1"));

        Click(IDC_DEFAULT);

        ASSERT_EQ(messages.size(), 1u);
        ExpectDefaultsShown();  // the disabled edits included
        EXPECT_EQ(Box()->isChecked(), ticked);
        EXPECT_EQ(Box()->isEnabled(), c.canContinue);
        EXPECT_EQ(dlg->continueRun, ticked ? 1 : 0);
        ExpectLocked(ticked);
        EXPECT_TRUE(dlg->isVisible());

        EXPECT_TRUE(PressOk());
        SimulationSettings expected;
        expected.continueRun = ticked;
        EXPECT_TRUE(dlg->Settings() == expected);
    }
}

// CANCEL, Escape and the close box: the caller gets back exactly what it put in, even after
// edits, a refused OK (which had already taken some fields) and DEFAULT.
TEST_F(ContinueTest, LeavingWithoutOkChangesNothing) {
    enum Way { CANCEL_BUTTON, ESCAPE_KEY, CLOSE_BOX };
    for (const Way way : {CANCEL_BUTTON, ESCAPE_KEY, CLOSE_BOX}) {
        SCOPED_TRACE(static_cast<int>(way));
        Reset();
        Open(CustomSettings(), true);
        Type(IDC_CONVECTION_RATIO, QStringLiteral("0.9"));
        Type(IDC_STEP_INTERVAL, QStringLiteral("0"));
        EXPECT_FALSE(PressOk());
        EXPECT_EQ(dlg->Settings().convectionRatio, 0.9);
        Click(IDC_DEFAULT);
        Type(IDC_WEAK_FLAME_POWER, QStringLiteral("1"));

        switch (way) {
            case CANCEL_BUTTON:
                Click(IDC_SETTINGS_CANCEL);
                break;
            case ESCAPE_KEY:
                QTest::keyClick(Edit(IDC_WEAK_FLAME_POWER), Qt::Key_Escape);
                break;
            case CLOSE_BOX:
                dlg->close();
                break;
        }

        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_TRUE(dlg->Settings() == CustomSettings());
    }
}

TEST_F(SettingsDialogTest, ModalRunReturnsTheButtonsResult) {
    dlg->SetSettings(CustomSettings());
    QTimer::singleShot(0, dlg.get(), [this] {
        Type(IDC_ROWS, QStringLiteral("12"));
        Click(IDC_SETTINGS_OK);
    });
    EXPECT_EQ(dlg->exec(), QDialog::Accepted);
    EXPECT_EQ(dlg->Settings().rows, 12);

    QTimer::singleShot(0, dlg.get(), [this] {
        Type(IDC_ROWS, QStringLiteral("13"));
        QTest::keyClick(Edit(IDC_ROWS), Qt::Key_Escape);
    });
    EXPECT_EQ(dlg->exec(), QDialog::Rejected);
    EXPECT_EQ(dlg->Settings().rows, 12);
}

}  // namespace
