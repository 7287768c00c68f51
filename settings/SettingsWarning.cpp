#include "SettingsWarning.h"

#include <cmath>
#include <string_view>

#include "NumberText.h"
#include "SettingsSchema.h"
#include "Soundness.h"

namespace {

// Replaces the placeholder "%n" with `value`.
void Fill(std::string& text, std::string_view placeholder, const std::string& value) {
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos) {
        text.replace(at, placeholder.size(), value);
    }
}

// A limit as shown: rounded down to `decimals` places, so that the value shown is itself inside
// the stable range.
std::string LimitText(double limit, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return FormatReal(std::floor(limit * scale) / scale);
}

}  // namespace

std::string SettingsWarning(const SimulationSettings& settings,
                            const std::function<std::string(const char*)>& translate) {
    if (SettingsConcerns(settings) == 0) {
        return {};
    }
    const double k = settings.conductionCoefficient;
    const double c = settings.coolingCoefficient;
    std::string coolingNow;
    if (k == 0.0) {
        coolingNow = translate(WarningTexts::COOLING_UNLIMITED);
    } else if (k > 0.0 && k <= MAX_STABLE_CONDUCTION) {
        coolingNow = translate(WarningTexts::COOLING_LIMIT);
        Fill(coolingNow, "%1", FormatReal(k));
        Fill(coolingNow, "%2", LimitText(MaxStableCooling(k), 2));
    }
    std::string text = translate(WarningTexts::STABLE_RANGE);
    // With a negative cooling coefficient no conduction is stable; the range then shown is the
    // one for the coefficients' sound values.
    Fill(text, "%1", LimitText(MaxStableConduction(c >= 0.0 ? c : 0.0), 4));
    Fill(text, "%2", coolingNow);
    Fill(text, "%3", FormatInteger(MIN_SOUND_ROOM_TEMPERATURE));
    return translate(WarningTexts::UNSTABLE) + '\n' + text;
}

int FirstUnsoundField(const SimulationSettings& settings) {
    const unsigned concerns = SettingsConcerns(settings);
    if (concerns == 0) {
        return 0;
    }
    const SimulationSettings defaults;
    for (const SettingField& field : SETTING_FIELDS) {
        SimulationSettings changed = settings;
        if (field.kind == SettingKind::Check) {
            continue;
        }
        if (field.kind == SettingKind::Int) {
            changed.*field.intValue = defaults.*field.intValue;
        } else {
            changed.*field.realValue = defaults.*field.realValue;
        }
        if (SettingsConcerns(changed) != concerns) {
            return field.id;
        }
    }
    return 0;
}
