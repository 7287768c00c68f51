#include "SettingsForm.h"

#include "SettingsSchema.h"
#include "SettingsTemplate.h"
#include "SettingsWarning.h"

namespace {

std::string Shown(const TranslateText& translate, const char* japanese) {
    return translate ? translate(japanese) : std::string(japanese);
}

// The label the template puts before a field's edit.
const char* LabelOf(int id) {
    const char* label = "";
    for (const SettingsItem& item : SETTINGS_ITEMS) {
        if (item.kind == ITEM_STATIC) {
            label = item.text;
        } else if (item.id == id) {
            return label;
        }
    }
    return "";
}

}  // namespace

void CSettingsForm::SetValues(const SimulationSettings& values) {
    m_values = values;
}

SimulationSettings CSettingsForm::Values() const {
    SimulationSettings values = m_values;
    values.continueRun = m_bContinue;
    return values;
}

SettingsFormView CSettingsForm::Open(bool canContinue, const TranslateText& translate) {
    m_entry = Values();
    m_bCanContinue = canContinue;
    // Continuing is offered ticked whenever it is possible.
    m_bContinue = canContinue;
    return View(translate);
}

SettingsFormView CSettingsForm::View(const TranslateText& translate) const {
    SettingsFormView view;
    for (const SettingField& field : SETTING_FIELDS) {
        const std::string tip = WithSettingBounds(field, Shown(translate, field.tip));
        if (field.kind == SettingKind::Check) {
            view.continueTip = tip;
            continue;
        }
        view.fields.push_back({field.id, Shown(translate, LabelOf(field.id)),
                               SettingFieldText(field, m_values), tip,
                               Locks() && field.fixesStartGrid});
    }
    // The first field the tab order reaches that can be edited.
    for (const SettingsItem& item : SETTINGS_ITEMS) {
        const SettingField* field = item.kind == ITEM_EDIT ? FindSettingField(item.id) : nullptr;
        if (field != nullptr && !(Locks() && field->fixesStartGrid)) {
            view.focus = item.id;
            break;
        }
    }
    view.canContinue = m_bCanContinue;
    view.continueRun = m_bContinue;
    view.defaultQuestion = Shown(translate, SettingsTexts::CONFIRM_DEFAULT);
    view.defaultCaption = Shown(translate, SettingsTexts::CAPTION_CONFIRM);
    return view;
}

void CSettingsForm::SetContinue(bool ticked) {
    m_bContinue = m_bCanContinue && ticked;
}

void CSettingsForm::ResetToDefaults() {
    m_values = SimulationSettings{};
}

SettingsFormAnswer CSettingsForm::Answer(const std::vector<std::string>& texts, bool runUnsound,
                                         const TranslateText& translate) {
    // While continuing, the fields that define the grid are locked and the run control
    // ignores them, so they are neither read nor checked: a value refused before the box was
    // ticked again cannot hold the dialog open.
    SettingsFormAnswer answer;
    std::size_t index = 0;
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind == SettingKind::Check) {
            continue;
        }
        const std::string text = index < texts.size() ? texts[index] : std::string();
        ++index;
        if (Locks() && field.fixesStartGrid) {
            continue;
        }
        // A value that is refused, also for its range, never reaches the values.
        const FieldError error = ReadSettingField(field, text, m_values);
        if (error != FieldError::None) {
            answer.kind = SettingsFormAnswer::Kind::Refused;
            answer.field = field.id;
            answer.message = Shown(translate, SettingPrompt(field, error));
            if (error == FieldError::OutOfRange) {
                answer.message = WithSettingBounds(field, answer.message);
            }
            return answer;
        }
    }
    if (!runUnsound) {
        const TranslateText shown = [&translate](const char* japanese) {
            return Shown(translate, japanese);
        };
        const std::string warning = SettingsWarning(m_values, shown);
        if (!warning.empty()) {
            answer.kind = SettingsFormAnswer::Kind::Unsound;
            answer.field = FirstUnsoundField(m_values);
            answer.message = warning + '\n' + shown(WarningTexts::RUN_ANYWAY);
            return answer;
        }
    }
    answer.settings = m_values;
    answer.settings.continueRun = Locks();
    return answer;
}

void CSettingsForm::Cancel() {
    if (m_entry) {
        m_values = *m_entry;
        m_bContinue = m_entry->continueRun;
    }
}
