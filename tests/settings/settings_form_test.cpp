// The settings form: what its fields show, how an answer is read and checked, the continue
// box's locks, DEFAULT, Cancel and the question about unsound settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsForm.h"
#include "SettingsSamples.h"
#include "SettingsSchema.h"
#include "SettingsTemplate.h"

namespace {

using Kind = SettingsFormAnswer::Kind;

const char* const INT_PROMPT = "整数を入力してください。";
const char* const NUMBER_PROMPT = "数値を入力してください。";
constexpr int GRID_FIELDS[] = {IDC_INITIAL_TEMPERATURE, IDC_COLUMNS, IDC_ROWS};

// The value a field edits.
double ValueOf(const SimulationSettings& s, int id) {
    const SettingField& field = *FindSettingField(id);
    return field.kind == SettingKind::Int ? s.*field.intValue : s.*field.realValue;
}

// A translation that marks each text it is given.
TranslateText Marked(char open, char close) {
    return [open, close](const char* japanese) {
        std::string text(1, open);
        text.append(japanese).push_back(close);
        return text;
    };
}

// A form opened with `values` and the texts it shows.
struct OpenForm {
    explicit OpenForm(const SimulationSettings& values = {}, bool canContinue = false) {
        form.SetValues(values);
        for (const SettingsFormField& field : form.Open(canContinue).fields) {
            ids.push_back(field.id);
            texts.push_back(field.text);
        }
    }
    void Type(int id, const char* text) {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (ids[i] == id) {
                texts[i] = std::string(text);
            }
        }
    }
    SettingsFormAnswer Ok(bool runUnsound = false) { return form.Answer(texts, runUnsound); }

    CSettingsForm form;
    std::vector<int> ids;
    std::vector<std::string> texts;
};

// One text typed into one field of a form opened with the defaults, then OK.
struct FieldCase {
    int id;
    const char* text;
    const char* prompt;    // nullptr: taken
    double value;          // the value taken
    bool unsound = false;  // taken after the question whether to run it anyway
};

TEST(SettingsForm, EachFieldTakesItsKindAndRangeAndRefusesTheRest) {
    const FieldCase cases[] = {
        // The checked ranges, at and beyond their ends.
        {IDC_STEP_INTERVAL, "1", nullptr, 1},
        {IDC_STEP_INTERVAL, "2000", nullptr, 2000},
        {IDC_STEP_INTERVAL, "0", "1 から 2000 までの整数を入力してください。", 0},
        {IDC_STEP_INTERVAL, "2001", "1 から 2000 までの整数を入力してください。", 0},
        {IDC_COLUMNS, "3", nullptr, 3},
        {IDC_COLUMNS, "80", nullptr, 80},
        {IDC_COLUMNS, "2", "3 から 80 までの整数を入力してください。", 0},
        {IDC_ROWS, "81", "3 から 80 までの整数を入力してください。", 0},
        {IDC_INITIAL_TEMPERATURE, "0", nullptr, 0},
        {IDC_INITIAL_TEMPERATURE, "100", nullptr, 100},
        {IDC_INITIAL_TEMPERATURE, "-1", "0 から 100 までの整数を入力してください。", 0},
        {IDC_INITIAL_TEMPERATURE, "101", "0 から 100 までの整数を入力してください。", 0},
        {IDC_CONVECTION_RATIO, "0", nullptr, 0.0},
        {IDC_CONVECTION_RATIO, "1", nullptr, 1.0},
        {IDC_CONVECTION_RATIO, "0.999", nullptr, 0.999},
        {IDC_CONVECTION_RATIO, "1.01", "0 から 1 までの数値を入力してください。", 0},
        {IDC_CONVECTION_RATIO, "-0.01", "0 から 1 までの数値を入力してください。", 0},
        // Texts that are no number of the field's kind.
        {IDC_INITIAL_TEMPERATURE, "abc", INT_PROMPT, 0},
        {IDC_COLUMNS, "12abc", INT_PROMPT, 0},
        {IDC_ROWS, "", INT_PROMPT, 0},
        {IDC_STEP_INTERVAL, "1.5", INT_PROMPT, 0},
        {IDC_STRONG_FLAME_POWER, "2147483648", INT_PROMPT, 0},
        {IDC_CONVECTION_RATIO, "abc", NUMBER_PROMPT, 0},
        {IDC_CONVECTION_RATIO, "1e999", NUMBER_PROMPT, 0},
        {IDC_CONDUCTION_COEFFICIENT, "nan", NUMBER_PROMPT, 0},
        {IDC_COOLING_COEFFICIENT, "", NUMBER_PROMPT, 0},
        {IDC_COOLING_COEFFICIENT, "inf", NUMBER_PROMPT, 0},
        // Seven fields carry no range: negatives, zero and extremes pass without a prompt.
        {IDC_STRONG_FLAME_POWER, "-400", nullptr, -400, true},
        {IDC_STRONG_FLAME_POWER, "2147483647", nullptr, 2147483647},
        {IDC_MEDIUM_FLAME_POWER, "0", nullptr, 0},
        {IDC_WEAK_FLAME_POWER, "-1", nullptr, -1, true},
        {IDC_CONDUCTION_COEFFICIENT, "-0.5", nullptr, -0.5, true},
        {IDC_CONDUCTION_COEFFICIENT, "0", nullptr, 0.0},
        {IDC_COOLING_COEFFICIENT, "-3", nullptr, -3.0, true},
        {IDC_ROOM_TEMPERATURE, "-273", nullptr, -273},
        {IDC_HISTORY_INTERVAL, "-100", nullptr, -100},
        {IDC_HISTORY_INTERVAL, " +25 ", nullptr, 25},
        {IDC_CONDUCTION_COEFFICIENT, "1e-999", nullptr, 0.0},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " \"" << c.text << "\"");
        OpenForm open;
        open.Type(c.id, c.text);
        const SettingsFormAnswer answer = open.Ok();
        if (c.prompt != nullptr) {
            EXPECT_EQ(answer.kind, Kind::Refused);
            EXPECT_EQ(answer.field, c.id);
            EXPECT_EQ(answer.message, c.prompt);
            EXPECT_EQ(ValueOf(open.form.Values(), c.id), ValueOf(SimulationSettings{}, c.id))
                << "a refused value never reaches the values";
            continue;
        }
        EXPECT_EQ(answer.kind, c.unsound ? Kind::Unsound : Kind::Start);
        const SettingsFormAnswer started = c.unsound ? open.Ok(true) : answer;
        ASSERT_EQ(started.kind, Kind::Start);
        EXPECT_DOUBLE_EQ(ValueOf(started.settings, c.id), c.value);
    }
}

// Two bad fields: the one read first is reported, whatever the layout order; once it is
// corrected the other one is.
TEST(SettingsForm, TheFirstRefusedFieldInReadingOrderIsReported) {
    const struct {
        int firstId;
        const char* firstText;
        int secondId;
        const char* secondText;
    } cases[] = {
        {IDC_CONDUCTION_COEFFICIENT, "abc", IDC_COLUMNS, "2"},  // columns sit higher up
        {IDC_STEP_INTERVAL, "0", IDC_ROWS, "81"},
        {IDC_ROOM_TEMPERATURE, "x", IDC_STRONG_FLAME_POWER, "x"},
        {IDC_INITIAL_TEMPERATURE, "101", IDC_CONVECTION_RATIO, "2"},
        {IDC_ROWS, "2", IDC_HISTORY_INTERVAL, "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstId);
        OpenForm open;
        open.Type(c.secondId, c.secondText);
        open.Type(c.firstId, c.firstText);
        EXPECT_EQ(open.Ok().field, c.firstId);
        open.Type(c.firstId, "3");
        EXPECT_EQ(open.Ok().field, c.secondId);
    }
}

TEST(SettingsForm, FieldsBeforeTheRefusedOneKeepTheirNewValues) {
    OpenForm open(CustomSettings());
    open.Type(IDC_INITIAL_TEMPERATURE, "42");
    open.Type(IDC_STEP_INTERVAL, "7");
    open.Type(IDC_COLUMNS, "2");
    open.Type(IDC_HISTORY_INTERVAL, "9");
    EXPECT_EQ(open.Ok().kind, Kind::Refused);
    EXPECT_EQ(open.form.Values().initialTemperature, 42);
    EXPECT_EQ(open.form.Values().stepIntervalMs, 7);
    EXPECT_EQ(open.form.Values().columns, 40) << "the refused field keeps its old value";
    EXPECT_EQ(open.form.Values().historyInterval, 50) << "fields after it are not read yet";
}

// Opening: the values as texts in reading order, the continue box ticked whenever a stopped
// run can go on, the grid's fields locked while it is, and the focus on the first field the
// tab order reaches that can be edited.
TEST(SettingsForm, OpeningShowsTheValuesTheBoxAndTheLocks) {
    for (const bool canContinue : {false, true}) {
        SCOPED_TRACE(canContinue);
        CSettingsForm form;
        form.SetValues(CustomSettings());
        const SettingsFormView view = form.Open(canContinue);
        const std::vector<std::string> texts = {"50",  "0.25", "0.1", "0.3", "20", "500",
                                                "200", "50",   "10",  "40",  "30", "50"};
        ASSERT_EQ(view.fields.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(view.fields[i].text, texts[i]) << view.fields[i].id;
            EXPECT_EQ(view.fields[i].locked,
                      canContinue && FindSettingField(view.fields[i].id)->fixesStartGrid);
        }
        EXPECT_EQ(view.canContinue, canContinue);
        EXPECT_EQ(view.continueRun, canContinue);
        EXPECT_EQ(view.focus, canContinue ? IDC_CONVECTION_RATIO : IDC_INITIAL_TEMPERATURE);
        // OK without edits gives back what came in.
        SimulationSettings expected = CustomSettings();
        expected.continueRun = canContinue;
        EXPECT_EQ(form.Answer(texts, false).settings, expected);
    }
}

// Every text goes through the front end's translation before the bounds are put in.
TEST(SettingsForm, TextsAreTranslatedThenGivenTheirBounds) {
    CSettingsForm form;
    const SettingsFormView view = form.Open(false, Marked('<', '>'));
    EXPECT_EQ(view.fields[0].label, "<初めの温度 (0 ～ 100) :>");
    EXPECT_EQ(view.fields[0].tip, "<初めの水の温度 [℃]。0 ～ 100 の整数。>");
    EXPECT_EQ(view.continueTip.rfind("<止めたシミュレーション", 0), 0u);
    EXPECT_EQ(view.defaultQuestion, "<各値をデフォルト値に戻します。>");
    EXPECT_EQ(view.defaultCaption, "<確認>");
    std::vector<std::string> texts;
    for (const SettingsFormField& field : view.fields) {
        texts.push_back(field.id == IDC_COLUMNS ? "2" : field.text);
    }
    const SettingsFormAnswer answer = form.Answer(texts, false, Marked('[', ']'));
    EXPECT_EQ(answer.message, "[3 から 80 までの整数を入力してください。]");
}

// While continuing the grid's fields are locked and not read, so a text refused before the
// box was ticked again cannot hold the dialog open; unticked they are read again.
TEST(SettingsForm, TheContinueBoxLocksTheGridsFields) {
    for (const int id : GRID_FIELDS) {
        SCOPED_TRACE(id);
        OpenForm open(CustomSettings(), true);
        open.form.SetContinue(false);
        open.Type(id, "abc");
        EXPECT_EQ(open.Ok().field, id);
        EXPECT_FALSE(open.form.View().fields[0].locked);

        open.form.SetContinue(true);
        const SettingsFormAnswer answer = open.Ok();
        ASSERT_EQ(answer.kind, Kind::Start);
        SimulationSettings expected = CustomSettings();
        expected.continueRun = true;
        EXPECT_EQ(answer.settings, expected);
    }
    // Without a stopped run the box cannot be ticked.
    OpenForm fresh(CustomSettings(), false);
    fresh.form.SetContinue(true);
    EXPECT_FALSE(fresh.form.View().continueRun);
    fresh.Type(IDC_ROWS, "81");
    EXPECT_EQ(fresh.Ok().field, IDC_ROWS);
}

// DEFAULT resets every value, the locked ones too, and leaves the box alone; Cancel puts
// back the values and the box as the form opened, after a refused OK and DEFAULT alike.
TEST(SettingsForm, DefaultResetsEveryValueAndCancelPutsBackTheOpeningOnes) {
    for (const bool ticked : {false, true}) {
        SCOPED_TRACE(ticked);
        OpenForm open(CustomSettings(), true);
        open.form.SetContinue(ticked);
        open.form.ResetToDefaults();
        const SettingsFormView view = open.form.View();
        EXPECT_EQ(view.fields[0].text, "15");
        EXPECT_EQ(view.fields[0].locked, ticked);
        EXPECT_EQ(view.continueRun, ticked);
        SimulationSettings expected;
        expected.continueRun = ticked;
        EXPECT_EQ(open.form.Values(), expected);

        open.Type(IDC_CONVECTION_RATIO, "0.9");
        open.Type(IDC_STEP_INTERVAL, "0");
        EXPECT_EQ(open.Ok().kind, Kind::Refused);
        open.form.Cancel();
        EXPECT_EQ(open.form.Values(), CustomSettings());
    }
}

// Unsound values are asked about with the stable range; Cancel goes back to the first field
// that makes them unsound, running them anyway starts with them.
TEST(SettingsForm, UnsoundValuesAreNamedBeforeTheyRun) {
    const struct {
        std::vector<std::pair<int, const char*>> typed;
        const char* range;  // part of the stable range the question names
        int field;          // the field to go back to
    } cases[] = {
        {{{IDC_CONDUCTION_COEFFICIENT, "0.5"}},
         "熱伝導の係数 k は 0 ～ 0.125",
         IDC_CONDUCTION_COEFFICIENT},
        {{{IDC_COOLING_COEFFICIENT, "13"}}, "(k = 0.035 では 12.28 まで)", IDC_COOLING_COEFFICIENT},
        {{{IDC_ROOM_TEMPERATURE, "-274"}}, "室温は -273 ℃ 以上", IDC_ROOM_TEMPERATURE},
        {{{IDC_MEDIUM_FLAME_POWER, "-140"}}, "火力は 0 以上", IDC_MEDIUM_FLAME_POWER},
        // Neither alone changes what is wrong: the first of them is the one to go back to.
        {{{IDC_WEAK_FLAME_POWER, "-1"}, {IDC_STRONG_FLAME_POWER, "-1"}},
         "火力は 0 以上",
         IDC_STRONG_FLAME_POWER},
        {{{IDC_COOLING_COEFFICIENT, "-3"}, {IDC_CONDUCTION_COEFFICIENT, "-0.5"}},
         "k は 0 ～",
         IDC_CONDUCTION_COEFFICIENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.range);
        OpenForm open;
        for (const auto& [id, text] : c.typed) {
            open.Type(id, text);
        }
        const SettingsFormAnswer asked = open.Ok();
        EXPECT_EQ(asked.kind, Kind::Unsound);
        EXPECT_EQ(asked.field, c.field);
        EXPECT_EQ(asked.message.rfind("この値では計算が不安定になり", 0), 0u);
        EXPECT_NE(asked.message.find(c.range), std::string::npos) << asked.message;
        EXPECT_NE(asked.message.find("\nこのまま実行しますか?"), std::string::npos);
        EXPECT_EQ(open.Ok(true).kind, Kind::Start);
    }
    // Sound values at the edge of the range pass without a question.
    OpenForm edge;
    edge.Type(IDC_CONDUCTION_COEFFICIENT, "0.125");
    edge.Type(IDC_ROOM_TEMPERATURE, "-273");
    EXPECT_EQ(edge.Ok().kind, Kind::Start);
}

}  // namespace
