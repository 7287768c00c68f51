#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SimulationSettings.h"

// The settings dialog's rules, for every front end that shows it: what its fields show, which
// of them the continue box locks, how an answer is read and checked, what is asked before
// unsound settings run and what DEFAULT resets. A front end draws the view it is given, asks
// the questions it is told to ask and hands back the texts the user typed; it checks nothing.
//
// Use: SetValues, then Open when the dialog appears; SetContinue when the box is clicked,
// ResetToDefaults when DEFAULT is confirmed (View then gives the texts to show); Answer for
// OK, until it gives a start; Cancel for every other way out.

// A Japanese text as the front end shows it (its translation). Where none is given the
// texts stay Japanese.
using TranslateText = std::function<std::string(const char*)>;

// One numeric field as the dialog shows it.
struct SettingsFormField {
    int id = 0;           // its control in the dialog's template
    std::string label;    // the label beside it
    std::string text;     // its value
    std::string tip;      // its tooltip, the bounds of its range filled in
    bool locked = false;  // disabled: it defines the starting grid and the stopped run goes on
};

// What the dialog shows.
struct SettingsFormView {
    std::vector<SettingsFormField> fields;  // in the order they are read, as Answer takes them
    bool canContinue = false;               // the continue box can be clicked
    bool continueRun = false;               // it is ticked
    std::string continueTip;
    int focus = 0;  // the field that has the focus on opening, its whole text selected
    // DEFAULT's confirmation, an OK/Cancel question: OK resets, Cancel changes nothing.
    std::string defaultQuestion;
    std::string defaultCaption;
};

// What OK gives.
struct SettingsFormAnswer {
    enum class Kind {
        Refused,  // a field's text is refused: `message` in an OK box, then back to `field`
        Unsound,  // the settings make the computation unstable: `message` asks whether to run
                  // them anyway (OK/Cancel, Cancel the default); Cancel goes back to `field`
        Start,    // the run starts with `settings`
    };
    Kind kind = Kind::Start;
    int field = 0;  // the field to go back to, its whole text selected; 0 for none
    std::string message;
    SimulationSettings settings;  // continueRun set when the stopped run goes on
};

class CSettingsForm {
public:
    // The values the fields edit. SetValues leaves the continue box alone; Values reports it.
    void SetValues(const SimulationSettings& values);
    SimulationSettings Values() const;

    // The dialog opens: offering to continue (ticked) when `canContinue`, otherwise not at all.
    // What Cancel returns to is taken here.
    SettingsFormView Open(bool canContinue, const TranslateText& translate = {});
    SettingsFormView View(const TranslateText& translate = {}) const;

    // The continue box clicked: it locks the fields that define the starting grid.
    void SetContinue(bool ticked);
    // DEFAULT confirmed: every value back to the program's, the locked ones too; the box stays.
    void ResetToDefaults();

    // OK with the fields' texts (in the view's order). The fields are read in that order,
    // the first refused one reported; fields before it keep their new values, the refused one
    // and those after it their old ones. Locked fields are neither read nor checked. Unsound
    // settings are asked about first unless `runUnsound` (the user has said to run them).
    SettingsFormAnswer Answer(const std::vector<std::string>& texts, bool runUnsound,
                              const TranslateText& translate = {});

    // Every way out but OK: the values and the box as the dialog opened with them.
    void Cancel();

private:
    bool Locks() const { return m_bCanContinue && m_bContinue; }

    SimulationSettings m_values;  // its continueRun is not used: m_bContinue holds the box
    bool m_bCanContinue = false;
    bool m_bContinue = false;
    std::optional<SimulationSettings> m_entry;
};
