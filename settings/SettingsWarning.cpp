#include "SettingsWarning.h"

#include <cmath>
#include <string_view>

#include "NumberText.h"
#include "SettingsSchema.h"
#include "Soundness.h"

namespace {

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
        FillPlaceholder(coolingNow, "%1", FormatReal(k));
        FillPlaceholder(coolingNow, "%2", LimitText(MaxStableCooling(k), 2));
    }
    std::string text = translate(WarningTexts::STABLE_RANGE);
    // With a negative cooling coefficient no conduction is stable; the range then shown is the
    // one for the coefficients' sound values.
    FillPlaceholder(text, "%1", LimitText(MaxStableConduction(c >= 0.0 ? c : 0.0), 4));
    FillPlaceholder(text, "%2", coolingNow);
    FillPlaceholder(text, "%3", FormatInteger(MIN_SOUND_ROOM_TEMPERATURE));
    return translate(WarningTexts::UNSTABLE) + '\n' + text;
}

int FirstUnsoundField(const SimulationSettings& settings) {
    const unsigned concerns = SettingsConcerns(settings);
    if (concerns == 0) {
        return 0;
    }
    // The settings with one field's value taken from `from`.
    const auto withField = [](SimulationSettings to, const SettingField& field,
                              const SimulationSettings& from) {
        if (field.kind == SettingKind::Int) {
            to.*field.intValue = from.*field.intValue;
        } else if (field.kind == SettingKind::Real) {
            to.*field.realValue = from.*field.realValue;
        }
        return to;
    };
    const SimulationSettings defaults;
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind != SettingKind::Check &&
            SettingsConcerns(withField(settings, field, defaults)) != concerns) {
            return field.id;
        }
    }
    // Two fields wrong alike (two negative flames): neither alone changes what is wrong, so
    // the first whose value is unsound by itself is the one to return to.
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind != SettingKind::Check &&
            SettingsConcerns(withField(defaults, field, settings)) != 0) {
            return field.id;
        }
    }
    return 0;
}
