// OK: parsing, range checks, the order of the checks, and what the dialog does on a bad field.
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
    RangeLimits, FieldInputTest,
    ::testing::Values(
        FieldCase{IDC_STEP_INTERVAL, "1", nullptr, 1},
        FieldCase{IDC_STEP_INTERVAL, "2000", nullptr, 2000},
        FieldCase{IDC_STEP_INTERVAL, "0", "1 から 2000 までの整数を入力してください。", 0},
        FieldCase{IDC_STEP_INTERVAL, "2001", "1 から 2000 までの整数を入力してください。", 0},
        FieldCase{IDC_COLUMNS, "3", nullptr, 3}, FieldCase{IDC_COLUMNS, "80", nullptr, 80},
        FieldCase{IDC_COLUMNS, "2", "3 から 80 までの整数を入力してください。", 0},
        FieldCase{IDC_COLUMNS, "81", "3 から 80 までの整数を入力してください。", 0},
        FieldCase{IDC_ROWS, "3", nullptr, 3}, FieldCase{IDC_ROWS, "80", nullptr, 80},
        FieldCase{IDC_ROWS, "2", "3 から 80 までの整数を入力してください。", 0},
        FieldCase{IDC_ROWS, "81", "3 から 80 までの整数を入力してください。", 0},
        FieldCase{IDC_INITIAL_TEMPERATURE, "0", nullptr, 0},
        FieldCase{IDC_INITIAL_TEMPERATURE, "100", nullptr, 100},
        FieldCase{IDC_INITIAL_TEMPERATURE, "-1", "0 から 100 までの整数を入力してください。", 0},
        FieldCase{IDC_INITIAL_TEMPERATURE, "101", "0 から 100 までの整数を入力してください。", 0},
        FieldCase{IDC_CONVECTION_RATIO, "0", nullptr, 0.0},
        FieldCase{IDC_CONVECTION_RATIO, "1", nullptr, 1.0},
        FieldCase{IDC_CONVECTION_RATIO, "0.999", nullptr, 0.999},
        FieldCase{IDC_CONVECTION_RATIO, "1.01", "0 から 1 までの数値を入力してください。", 0},
        FieldCase{IDC_CONVECTION_RATIO, "-0.01", "0 から 1 までの数値を入力してください。", 0}));

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, FieldInputTest,
    ::testing::Values(FieldCase{IDC_INITIAL_TEMPERATURE, "abc", INT_PROMPT, 0},
                      FieldCase{IDC_COLUMNS, "12abc", INT_PROMPT, 0},
                      FieldCase{IDC_ROWS, "", INT_PROMPT, 0},
                      FieldCase{IDC_STEP_INTERVAL, "1.5", INT_PROMPT, 0},
                      FieldCase{IDC_STRONG_FLAME_POWER, "2147483648", INT_PROMPT, 0},
                      FieldCase{IDC_CONVECTION_RATIO, "abc", NUMBER_PROMPT, 0},
                      FieldCase{IDC_CONVECTION_RATIO, "1e999", NUMBER_PROMPT, 0},
                      FieldCase{IDC_CONDUCTION_COEFFICIENT, "nan", NUMBER_PROMPT, 0},
                      FieldCase{IDC_COOLING_COEFFICIENT, "", NUMBER_PROMPT, 0},
                      FieldCase{IDC_COOLING_COEFFICIENT, "inf", NUMBER_PROMPT, 0}));

// Seven fields carry no range: negatives, zero and extremes pass without a prompt.
INSTANTIATE_TEST_SUITE_P(
    UncheckedFields, FieldInputTest,
    ::testing::Values(FieldCase{IDC_STRONG_FLAME_POWER, "-400", nullptr, -400, true},
                      FieldCase{IDC_STRONG_FLAME_POWER, "2147483647", nullptr, 2147483647},
                      FieldCase{IDC_MEDIUM_FLAME_POWER, "0", nullptr, 0},
                      FieldCase{IDC_WEAK_FLAME_POWER, "-1", nullptr, -1, true},
                      FieldCase{IDC_CONDUCTION_COEFFICIENT, "-0.5", nullptr, -0.5, true},
                      FieldCase{IDC_CONDUCTION_COEFFICIENT, "0", nullptr, 0.0},
                      FieldCase{IDC_COOLING_COEFFICIENT, "-3", nullptr, -3.0, true},
                      FieldCase{IDC_COOLING_COEFFICIENT, "0", nullptr, 0.0},
                      FieldCase{IDC_ROOM_TEMPERATURE, "-273", nullptr, -273},
                      FieldCase{IDC_ROOM_TEMPERATURE, "0", nullptr, 0},
                      FieldCase{IDC_HISTORY_INTERVAL, "0", nullptr, 0},
                      FieldCase{IDC_HISTORY_INTERVAL, "-100", nullptr, -100},
                      FieldCase{IDC_HISTORY_INTERVAL, " +25 ", nullptr, 25},
                      FieldCase{IDC_CONDUCTION_COEFFICIENT, "1e-999", nullptr, 0.0}));

// Two bad fields: the one checked first is reported, whatever the layout order.
struct PairCase {
    int firstId;
    const char* firstText;
    int secondId;
    const char* secondText;
};

TEST_F(SettingsDialogTest, FirstBadFieldInExchangeOrderIsReported) {
    const PairCase cases[] = {
        {IDC_CONDUCTION_COEFFICIENT, "abc", IDC_COLUMNS, "2"},  // columns sit higher up
        {IDC_STEP_INTERVAL, "0", IDC_ROWS, "81"},
        {IDC_ROOM_TEMPERATURE, "x", IDC_STRONG_FLAME_POWER, "x"},
        {IDC_INITIAL_TEMPERATURE, "101", IDC_CONVECTION_RATIO, "2"},
        {IDC_ROWS, "2", IDC_HISTORY_INTERVAL, "x"},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(c.firstId);
        Reset();
        Open();
        Type(c.secondId, QString::fromUtf8(c.secondText));
        Type(c.firstId, QString::fromUtf8(c.firstText));
        EXPECT_FALSE(PressOk());
        EXPECT_EQ(messages.size(), 1u) << "one prompt per OK";
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.firstId));

        // Correcting the first field brings up the second.
        Type(c.firstId, QStringLiteral("3"));
        messages.clear();
        EXPECT_FALSE(PressOk());
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(QApplication::focusWidget(), Edit(c.secondId));
    }
}

TEST_F(SettingsDialogTest, FieldsBeforeTheBadOneHoldTheirNewValues) {
    Open(CustomSettings());
    Type(IDC_INITIAL_TEMPERATURE, QStringLiteral("42"));
    Type(IDC_CONVECTION_RATIO, QStringLiteral("0.5"));
    Type(IDC_STEP_INTERVAL, QStringLiteral("7"));
    Type(IDC_COLUMNS, QStringLiteral("2"));
    Type(IDC_HISTORY_INTERVAL, QStringLiteral("9"));

    EXPECT_FALSE(PressOk());
    EXPECT_EQ(dlg->Settings().initialTemperature, 42);
    EXPECT_EQ(dlg->Settings().convectionRatio, 0.5);
    EXPECT_EQ(dlg->Settings().stepIntervalMs, 7);
    EXPECT_EQ(dlg->Settings().columns, 40) << "the bad field keeps its old value";
    EXPECT_EQ(dlg->Settings().historyInterval, 50) << "fields after the bad one are not read yet";

    Type(IDC_COLUMNS, QStringLiteral("33"));
    EXPECT_TRUE(PressOk());
    SimulationSettings expected = CustomSettings();
    expected.initialTemperature = 42;
    expected.convectionRatio = 0.5;
    expected.stepIntervalMs = 7;
    expected.columns = 33;
    expected.historyInterval = 9;
    EXPECT_TRUE(dlg->Settings() == expected);
}

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
        {IDC_COOLING_COEFFICIENT, "13", "(k = 0.035 では 12.28 まで)"},
        {IDC_ROOM_TEMPERATURE, "-274", "室温は -273 ℃ 以上"},
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
