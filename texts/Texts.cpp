#include "Texts.h"

#include <unordered_map>

#include "BurnerCaptions.h"
#include "ExportTexts.h"
#include "HistoryTexts.h"
#include "MainTexts.h"
#include "RunFileTexts.h"
#include "RunSpeed.h"
#include "SettingsSchema.h"
#include "SettingsTemplate.h"
#include "SettingsWarning.h"
#include "Surface.h"
#include "ViewMessages.h"
#include "WebTexts.h"
#include "WholeRunGraph.h"

namespace {

// The English of every Japanese text, each given by the constant that defines it where the
// text is used: the main window's, the run control's, the history window's and the drawing's.
// The settings dialog's labels and tooltips carry their English beside them, in their own
// tables.
const Texts::Pair TEXTS[] = {
    // The main window.
    {MainTexts::START, "Start"},
    {MainTexts::STOP, "Stop"},
    {MainTexts::PAUSE, "Pause"},
    {MainTexts::RESUME, "Resume"},
    {MainTexts::HISTORY, "History"},
    {MainTexts::CLOSE, "Close"},
    {MainTexts::SAVE_STATE, "Save window positions on exit"},
    {MainTexts::ABOUT, "&About"},
    {MainTexts::VESSEL_NAME, "Vessel"},
    {MainTexts::TEXT_SIZE_MENU, "Text size"},
    {MainTexts::TEXT_SIZE_STANDARD, "Standard"},
    {MainTexts::TEXT_SIZE_LARGE, "Large"},
    {MainTexts::TEXT_SIZE_EXTRA_LARGE, "Extra large"},
    {MainTexts::GUIDE, "Guide"},
    {MainTexts::GUIDE_MISSING, "The guide's page could not be found or opened:"},
    {MainTexts::HISTORY_TIP,
     "Shows the history window (graph of the average temperature and heat). Press again to "
     "hide it."},
    {MainTexts::PAUSE_TIP, "Pauses the running simulation; while paused, resumes it."},
    {MainTexts::CENTRE_TIP,
     "Changes the centre burner's flame (off → strong → medium → weak). The caption names the "
     "level the next click selects."},
    {MainTexts::ENDS_TIP,
     "Changes the flame of the burners at both ends (off → strong → medium → weak). The "
     "caption names the level the next click selects."},
    {MainTexts::START_TIP,
     "Opens the settings dialog and starts the simulation. While it runs, stops it (a stopped "
     "run can be continued)."},
    {MainTexts::CLOSE_TIP, "Ends the program."},
    {MainTexts::HISTORY_BUTTON_FAILED, "Failed to create the history window button."},
    {MainTexts::PAUSE_BUTTON_FAILED, "Failed to create the pause button."},
    {MainTexts::CENTRE_BUTTON_FAILED, "Failed to create the centre flame button."},
    {MainTexts::ENDS_BUTTON_FAILED, "Failed to create the ends flame button."},
    {MainTexts::START_BUTTON_FAILED, "Failed to create the simulation start/stop button."},
    {MainTexts::CLOSE_BUTTON_FAILED, "Failed to create the close button."},
    {ExportTexts::SAVE_PICTURE, "Save picture..."},
    {ExportTexts::SAVE_HISTORY, "Save history as CSV..."},
    {ExportTexts::SAVE_FAILED, "The file could not be saved."},
    {RunFileTexts::SAVE_RUN, "Save run..."},
    {RunFileTexts::OPEN_RUN, "Open run..."},
    {RunFileTexts::RUN_FILTER, "Quorvel run (*.quorvel)"},
    {RunFileTexts::OPEN_FAILED, "The run could not be opened. The current run is kept."},
    {RunFileTexts::REPLACE_RUN, "The current run will be replaced by the one opened. Open it?"},

    // The settings dialog.
    {SETTINGS_CAPTION, "Simulation Settings"},
    {SettingsTexts::CONFIRM_DEFAULT, "All values will be reset to their defaults."},
    {SettingsTexts::CAPTION_CONFIRM, "Confirm"},
    {SettingsTexts::PROMPT_INTEGER, "Please enter an integer."},
    {SettingsTexts::PROMPT_NUMBER, "Please enter a number."},
    {SettingsTexts::PROMPT_INTEGER_RANGE, "Please enter an integer from %1 to %2."},
    {SettingsTexts::PROMPT_NUMBER_RANGE, "Please enter a number from %1 to %2."},

    // Settings that make the computation unstable, and a run that became so.
    {WarningTexts::UNSTABLE,
     "These values make the computation unstable, and its results would be wrong."},
    {WarningTexts::STABLE_RANGE,
     "Stable range: conduction coefficient k from 0 to %1, cooling coefficient from 0 to (1/k "
     "− 4)/2%2, flame powers 0 or more, room temperature %3 °C or more."},
    {WarningTexts::COOLING_LIMIT, " (up to %2 for k = %1)"},
    {WarningTexts::COOLING_UNLIMITED, " (no limit for k = 0)"},
    {WarningTexts::RUN_ANYWAY, "Run with these values anyway?"},
    {WarningTexts::DIVERGED,
     "The computation has become unstable: some cells have a temperature that is not a number "
     "or is below −273.15 °C. The run is paused."},

    // The speed menu.
    {RunSpeed::MENU, "Speed"},
    {RunSpeed::LABELS[RunSpeed::FASTEST], "Max"},
    {RunSpeed::SINGLE_STEP, "Single step"},

    // The burner buttons' captions: the level the next click selects.
    {ENDS_CAPTION_OFF, "Off (ends)"},
    {ENDS_CAPTION_STRONG, "Strong (ends)"},
    {ENDS_CAPTION_MEDIUM, "Med. (ends)"},
    {ENDS_CAPTION_WEAK, "Weak (ends)"},
    {CENTRE_CAPTION_OFF, "Off (ctr)"},
    {CENTRE_CAPTION_STRONG, "Strong (ctr)"},
    {CENTRE_CAPTION_MEDIUM, "Med. (ctr)"},
    {CENTRE_CAPTION_WEAK, "Weak (ctr)"},

    // The history window.
    {HISTORY_CAPTION, "History Window"},
    {STATUS_TEMPERATURE_FORMAT, "Avg. temp.: %d [°C] (blue)"},
    {STATUS_HEAT_FORMAT, "Avg. heat: %d [J] (red)"},
    {MSG_CREATE_HISTORY_WINDOW, "Could not create the history window."},
    {WholeRunTexts::MENU_ITEM, "Whole run"},
    {WholeRunTexts::TEMPERATURE_LEGEND, "Avg. temperature [°C] (left)"},
    {WholeRunTexts::HEAT_LEGEND, "Avg. heat [J] (right)"},
    {WholeRunTexts::TICK_AXIS, "ticks"},

    // The web page's own.
    {WebTexts::MENU_BUTTON, "Menu"},
    {WebTexts::BAD_ADDRESS,
     "These values in the address cannot be used; the defaults are used "
     "instead:"},
    {WebTexts::MORE_BAD_VALUES, "%1 more values cannot be used either."},
    {WebTexts::LANGUAGE_NOT_KEPT,
     "This browser keeps no data for the page: the language chosen is not kept for the next "
     "visit."},
    {WebTexts::CANCEL, "Cancel"},
    {WebTexts::ENDED, "The simulation has ended."},

    // Fatal failures of the drawing objects.
    {SurfaceMessages::BITMAP_CREATE, "Failed to create the bitmap."},
    {SurfaceMessages::BITMAP_DETACH, "Failed to detach the bitmap."},
    {SurfaceMessages::BITMAP_SELECT, "Failed to assign the bitmap."},
    {SurfaceMessages::BITMAP_DELETE, "Failed to release the bitmap."},
    {SurfaceMessages::MEMORY_DC_CREATE, "Failed to create the memory device context."},
    {SurfaceMessages::MEMORY_DC_DELETE, "Failed to release the memory device context."},
    {ViewMessages::REGION_CREATE, "Failed to create the region."},
    {ViewMessages::REGION_DELETE, "Failed to release the region."},
    {ViewMessages::POLYGON_CREATE, "Failed to create the polygon region."},
    {ViewMessages::POLYGON_DELETE, "Failed to release the polygon region."},
    {ViewMessages::BRUSH_CREATE, "Failed to create the brush."},
    {ViewMessages::BRUSH_SELECT, "Failed to select the brush."},
    {ViewMessages::BRUSH_UNSELECT, "Failed to deselect the brush."},
    {ViewMessages::BRUSH_DETACH, "Failed to detach the brush."},
    {ViewMessages::BRUSH_DELETE, "Failed to release the brush."},
    {ViewMessages::PEN_CREATE, "Failed to create the pen."},
    {ViewMessages::PEN_SELECT, "Failed to select the pen."},
    {ViewMessages::PEN_UNSELECT, "Failed to deselect the pen."},
    {ViewMessages::PEN_DETACH, "Failed to detach the pen."},
    {ViewMessages::PEN_DELETE, "Failed to release the pen."},
};

std::vector<Texts::Pair> Collect() {
    std::vector<Texts::Pair> pairs(std::begin(TEXTS), std::end(TEXTS));
    for (const SettingsItem& item : SETTINGS_ITEMS) {
        if (item.english != nullptr) {
            pairs.push_back({item.text, item.english});
        }
    }
    for (const SettingField& field : SETTING_FIELDS) {
        pairs.push_back({field.tip, field.tipEnglish});
    }
    return pairs;
}

}  // namespace

namespace Texts {

const std::vector<Pair>& All() {
    static const std::vector<Pair> pairs = Collect();
    return pairs;
}

const char* English(std::string_view japanese) {
    static const std::unordered_map<std::string_view, const char*> byJapanese = [] {
        std::unordered_map<std::string_view, const char*> map;
        for (const Pair& pair : All()) {
            map.emplace(pair.japanese, pair.english);
        }
        return map;
    }();
    const auto found = byJapanese.find(japanese);
    return found == byJapanese.end() ? nullptr : found->second;
}

const char* InEnglish(const char* japanese) {
    const char* english = English(japanese);
    return english != nullptr ? english : japanese;
}

}  // namespace Texts
