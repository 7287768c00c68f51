// OK: what the dialog does with a refused field, a taken one and unsound values. The rules
// themselves (ranges, prompts, reading order) are the settings form's, tested with it.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <ostream>

#include "SettingsDialogFixture.h"

namespace {

const char* const INT_PROMPT = "整数を入力してください。";
const char* const NUMBER_PROMPT = "数値を入力してください。";

// One text typed into one field of a dialog opened with the defaults, then OK.
struct FieldCase {
    int id;
    const char* text;
    const char* prompt;    // nullptr: accepted
    double value;          // the value taken when accepted
    bool unsound = false;  // accepted after the question whether to run it anyway
};

std::ostream& operator<<(std::ostream& os, const FieldCase& c) {
    return os << c.id << " \"" << c.text << "\"";
}

class FieldInputTest : public SettingsDialogTest,
                       public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldInputTest, AcceptedOrReportedOnTheField) {
    const FieldCase& c = GetParam();
    Open();
    Type(c.id, QString::fromUtf8(c.text));
    QLineEdit* edit = Edit(c.id);

    const bool accepted = PressOk();

    if (c.prompt == nullptr) {
        EXPECT_TRUE(accepted);
        EXPECT_EQ(messages.size(), c.unsound ? 1u : 0u);
        EXPECT_DOUBLE_EQ(FieldOf(dlg->Settings(), c.id), c.value);
        return;
    }
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(dlg->isVisible()) << "the dialog must stay open";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QString::fromUtf8(c.prompt));
    EXPECT_FALSE(messages[0].okCancel);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), edit->text());
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.text)) << "the user's text stays for correction";
    EXPECT_DOUBLE_EQ(FieldOf(dlg->Settings(), c.id), FieldOf(SimulationSettings{}, c.id))
        << "a refused value never reaches the member";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FieldInputTest,
    ::testing::Values(FieldCase{IDC_STEP_INTERVAL, "2001",
                                "1 から 2000 までの整数を入力してください。", 0},
                      FieldCase{IDC_CONVECTION_RATIO, "abc", NUMBER_PROMPT, 0},
                      FieldCase{IDC_ROWS, "", INT_PROMPT, 0},
                      FieldCase{IDC_COLUMNS, "80", nullptr, 80},
                      FieldCase{IDC_CONVECTION_RATIO, "0.999", nullptr, 0.999},
                      FieldCase{IDC_HISTORY_INTERVAL, " +25 ", nullptr, 25},
                      FieldCase{IDC_WEAK_FLAME_POWER, "-1", nullptr, -1, true}));

TEST_F(SettingsDialogTest, OkWithoutEditsReturnsTheValuesUnchanged) {
    for (const SimulationSettings& s : {SimulationSettings{}, CustomSettings()}) {
        Reset();
        Open(s);
        EXPECT_TRUE(PressOk());
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(dlg->Settings() == s);
    }
}

TEST_F(SettingsDialogTest, EnterInAnEditPressesOk) {
    Open();
    Type(IDC_WEAK_FLAME_POWER, QStringLiteral("65"));
    QTest::keyClick(Edit(IDC_WEAK_FLAME_POWER), Qt::Key_Return);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->Settings().weakFlamePower, 65);
}

TEST_F(SettingsDialogTest, OpeningShowsEveryValueAsTheUserWillReadIt) {
    Open();
    ExpectDefaultsShown();  // integers in decimal, reals as 0.7, 0.035, 0.6
}

// Unsound values: OK asks first, with the stable range; Cancel (the default) goes back to the
// first unsound field with nothing taken, OK takes the values as they are.
TEST_F(SettingsDialogTest, UnsoundValuesAreNamedBeforeTheyAreTaken) {
    const struct {
        int id;
        const char* text;
        const char* range;  // part of the stable range the question names
    } cases[] = {
        {IDC_CONDUCTION_COEFFICIENT, "0.5", "熱伝導の係数 k は 0 ～ 0.125"},
        {IDC_MEDIUM_FLAME_POWER, "-140", "火力は 0 以上"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (const bool goOn : {false, true}) {
            Reset();
            answer = goOn;
            Open();
            Type(c.id, QString::fromUtf8(c.text));
            QTest::keyClick(Edit(IDC_STEP_INTERVAL), Qt::Key_Tab);  // the focus leaves the field
            EXPECT_EQ(PressOk(), goOn);
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_TRUE(
                messages[0].text.startsWith(QString::fromUtf8("この値では計算が不安定になり")));
            EXPECT_TRUE(messages[0].text.contains(QString::fromUtf8(c.range)))
                << messages[0].text.toStdString();
            EXPECT_TRUE(messages[0].cancelDefault);
            if (goOn) {
                EXPECT_EQ(FieldOf(dlg->Settings(), c.id), QString::fromUtf8(c.text).toDouble());
            } else {
                EXPECT_TRUE(dlg->isVisible());
                EXPECT_EQ(QApplication::focusWidget(), Edit(c.id));
            }
        }
    }
    // Sound values at the edge of the range pass without a question.
    Reset();
    Open();
    Type(IDC_CONDUCTION_COEFFICIENT, QStringLiteral("0.125"));
    Type(IDC_ROOM_TEMPERATURE, QStringLiteral("-273"));
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(messages.empty());
}

}  // namespace
