#include "SettingsSchema.h"

#include "NumberText.h"

const SettingField* FindSettingField(int id) {
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.id == id) {
            return &field;
        }
    }
    return nullptr;
}

const SettingField* FindSettingOption(std::string_view option) {
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.option != nullptr && field.option == option) {
            return &field;
        }
    }
    return nullptr;
}

FieldError ReadSettingField(const SettingField& field, std::string_view text,
                            SimulationSettings& settings) {
    const auto outside = [&field](double value) {
        return field.bounded && (value < field.low || value > field.high);
    };
    if (field.kind == SettingKind::Int) {
        int parsed = 0;
        if (!ParseInteger(text, parsed)) {
            return FieldError::NotANumber;
        }
        if (outside(parsed)) {
            return FieldError::OutOfRange;
        }
        settings.*field.intValue = parsed;
        return FieldError::None;
    }
    if (field.kind == SettingKind::Real) {
        double parsed = 0.0;
        if (!ParseReal(text, parsed)) {
            return FieldError::NotANumber;
        }
        if (outside(parsed)) {
            return FieldError::OutOfRange;
        }
        settings.*field.realValue = parsed;
        return FieldError::None;
    }
    return FieldError::NotANumber;
}

std::string SettingFieldText(const SettingField& field, const SimulationSettings& settings) {
    switch (field.kind) {
        case SettingKind::Int:
            return FormatInteger(settings.*field.intValue);
        case SettingKind::Real:
            return FormatReal(settings.*field.realValue);
        case SettingKind::Check:
            break;
    }
    return {};
}

std::string SettingBoundText(const SettingField& field, double bound) {
    return field.kind == SettingKind::Int ? FormatInteger(static_cast<long long>(bound))
                                          : FormatReal(bound);
}

const char* SettingPrompt(const SettingField& field, FieldError error) {
    const bool integer = field.kind == SettingKind::Int;
    if (error == FieldError::OutOfRange) {
        return integer ? SettingsTexts::PROMPT_INTEGER_RANGE : SettingsTexts::PROMPT_NUMBER_RANGE;
    }
    return integer ? SettingsTexts::PROMPT_INTEGER : SettingsTexts::PROMPT_NUMBER;
}

void FillPlaceholder(std::string& text, std::string_view placeholder, const std::string& value) {
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos) {
        text.replace(at, placeholder.size(), value);
    }
}

std::string WithSettingBounds(const SettingField& field, std::string text) {
    if (field.bounded) {
        FillPlaceholder(text, "%1", SettingBoundText(field, field.low));
        FillPlaceholder(text, "%2", SettingBoundText(field, field.high));
    }
    return text;
}
