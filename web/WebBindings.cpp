// The engine as the web page calls it: one Engine object (WebApp) and the tables the page
// builds its controls from (the settings dialog's template, the texts of both languages, the
// window's own texts and the numbers the page lays out and paces by).

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <iterator>

#include "BurnerCaptions.h"
#include "HistoryTexts.h"
#include "MainTexts.h"
#include "MenuModel.h"
#include "Numbers.h"
#include "PageLayout.h"
#include "RunSpeed.h"
#include "SaveFiles.h"
#include "SettingsForm.h"
#include "SettingsTemplate.h"
#include "SettingsWarning.h"
#include "Texts.h"
#include "WebApp.h"
#include "WebTexts.h"

using emscripten::val;

#ifndef QUORVEL_WEB_TEST_BUILD
#define QUORVEL_WEB_TEST_BUILD 0
#endif

namespace {

val Bytes(const std::vector<std::uint8_t>& bytes) {
    return val(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

val Text(const char* text) {
    return val(std::string(text == nullptr ? "" : text));
}

val ButtonRowOf(const WebApp& app) {
    const ButtonRow row = app.Buttons();
    val edges = val::array();
    for (int edge : row.edges) {
        edges.call<void>("push", edge);
    }
    val result = val::object();
    result.set("top", row.top);
    result.set("bottom", row.bottom);
    result.set("edges", edges);
    return result;
}

// The history panel's status bar: its two parts' texts, left to right.
val HistoryStatusOf(const WebApp& app) {
    val parts = val::array();
    for (const int part : {CHistoryPanel::TEMPERATURE_PART, CHistoryPanel::HEAT_PART}) {
        parts.call<void>("push", app.HistoryStatus(part));
    }
    return parts;
}

// The title to show now, or null.
val TitleToShow(WebApp& app, double nowMs) {
    const std::optional<std::string> title = app.TitleToShow(nowMs);
    return title ? val(*title) : val::null();
}

// The message for a run that paused on unphysical cells (Japanese, for the page to
// translate), once; empty otherwise.
std::string TakeDivergence(WebApp& app) {
    return app.TakeDivergence() ? WarningTexts::DIVERGED : "";
}

val StateOf(const WebApp& app) {
    const CRunControl& control = app.Control();
    const RunButtons& buttons = app.ShownButtons();
    val state = val::object();
    state.set("startCaption", Text(buttons.startCaption));
    state.set("startEnabled", buttons.startEnabled);
    state.set("pauseCaption", Text(buttons.pauseCaption));
    state.set("pauseEnabled", buttons.pauseEnabled);
    state.set("endsCaption", Text(control.EndsCaption()));
    state.set("centreCaption", Text(control.CentreCaption()));
    state.set("title", control.Title());
    state.set("speed", control.Speed());
    state.set("paused", control.IsPaused());
    state.set("started", control.HasStarted());
    state.set("ticks", static_cast<double>(app.TicksRun()));
    state.set("timerOn", app.TimerOn());
    state.set("timerPeriod", app.TimerPeriod());
    state.set("timerStarts", app.TimerStarts());
    // The last averages as numbers (for measurements and tests; the page shows the status
    // texts), or nothing before the first timer message.
    if (app.Averages()) {
        state.set("temperature", app.Averages()->first);
        state.set("heat", app.Averages()->second);
    }
    return state;
}

// Japanese texts as the page shows them.
TranslateText PageLanguage(bool english) {
    return [english](const char* japanese) {
        return std::string(english ? Texts::InEnglish(japanese) : japanese);
    };
}

// What the open settings dialog shows, in the page's language; null while it is closed.
val SettingsViewOf(const WebApp& app, bool english) {
    const std::optional<SettingsFormView> view = app.SettingsView(PageLanguage(english));
    if (!view) {
        return val::null();
    }
    val fields = val::array();
    for (const SettingsFormField& field : view->fields) {
        val entry = val::object();
        entry.set("id", field.id);
        entry.set("label", field.label);
        entry.set("text", field.text);
        entry.set("tip", field.tip);
        entry.set("locked", field.locked);
        fields.call<void>("push", entry);
    }
    val result = val::object();
    result.set("fields", fields);
    result.set("canContinue", view->canContinue);
    result.set("continueRun", view->continueRun);
    result.set("continueTip", view->continueTip);
    result.set("focus", view->focus);
    result.set("defaultQuestion", view->defaultQuestion);
    result.set("defaultCaption", view->defaultCaption);
    return result;
}

// The settings dialog's OK: kind "refused" (the message in an OK box, then back to the
// field), "unsound" (the message asks whether to run them anyway, Cancel the default; Cancel
// goes back to the field) or "start".
val AnswerSettings(WebApp& app, val texts, bool runUnsound, bool english) {
    const SettingsFormAnswer answer = app.AnswerStart(
        emscripten::vecFromJSArray<std::string>(texts), runUnsound, PageLanguage(english));
    const char* kind = answer.kind == SettingsFormAnswer::Kind::Refused   ? "refused"
                       : answer.kind == SettingsFormAnswer::Kind::Unsound ? "unsound"
                                                                          : "start";
    val result = val::object();
    result.set("kind", std::string(kind));
    result.set("field", answer.field);
    result.set("message", answer.message);
    return result;
}

val RectOf(const PixelRect& rect) {
    val result = val::object();
    result.set("left", rect.left);
    result.set("top", rect.top);
    result.set("right", rect.right);
    result.set("bottom", rect.bottom);
    return result;
}

val Inspection(const WebApp& app) {
    const CVesselView& view = app.View();
    val result = val::object();
    result.set("panel", RectOf(view.InfoPanelRect()));
    result.set("selection", RectOf(view.CellRect(view.Selection().col, view.Selection().row)));
    result.set("cellWidth", view.CellWidth());
    result.set("cellHeight", view.CellHeight());
    result.set("selectedCol", view.Selection().col);
    result.set("selectedRow", view.Selection().row);
    return result;
}

// The settings dialog's template: what the page builds the dialog from; the settings form
// (settingsView) fills it.
val SettingsFormTable() {
    val items = val::array();
    for (const SettingsItem& item : SETTINGS_ITEMS) {
        val entry = val::object();
        entry.set("id", item.id);
        entry.set("kind", static_cast<int>(item.kind));
        entry.set("text", Text(item.text));
        entry.set("rect", val::array(std::vector<int>{item.x, item.y, item.cx, item.cy}));
        items.call<void>("push", entry);
    }
    val form = val::object();
    form.set("caption", Text(SETTINGS_CAPTION));
    form.set("width", SETTINGS_WIDTH);
    form.set("height", SETTINGS_HEIGHT);
    form.set("items", items);
    val kinds = val::object();
    kinds.set("groupBox", static_cast<int>(ITEM_GROUP_BOX));
    kinds.set("label", static_cast<int>(ITEM_STATIC));
    kinds.set("edit", static_cast<int>(ITEM_EDIT));
    kinds.set("check", static_cast<int>(ITEM_AUTO_CHECK_BOX));
    kinds.set("defaultButton", static_cast<int>(ITEM_DEF_PUSH_BUTTON));
    kinds.set("button", static_cast<int>(ITEM_PUSH_BUTTON));
    form.set("kinds", kinds);
    form.set("okId", IDC_SETTINGS_OK);
    form.set("cancelId", IDC_SETTINGS_CANCEL);
    form.set("defaultId", IDC_DEFAULT);
    return form;
}

// The context menu's items, for the page to draw: texts in Japanese for the page to translate,
// the first shortcut's key as its label.
val MenuItemsOf(const std::vector<MenuItem>& items) {
    static const char* const KINDS[] = {"command", "check", "radio", "submenu", "separator"};
    static_assert(std::size(KINDS) == static_cast<std::size_t>(MenuItemKind::Separator) + 1);
    val list = val::array();
    for (const MenuItem& item : items) {
        val entry = val::object();
        entry.set("id", static_cast<int>(item.id));
        entry.set("kind", KINDS[static_cast<int>(item.kind)]);
        entry.set("text", Text(item.text));
        entry.set("enabled", item.enabled);
        entry.set("checked", item.checked);
        entry.set("key", item.keys.empty() ? std::string() : std::string(1, item.keys[0].key));
        entry.set("items", MenuItemsOf(item.items));
        list.call<void>("push", entry);
    }
    return list;
}

// What a choice leaves to the page: `action` names it ("" for nothing); a save has the name
// to propose, a language choice its code.
val ChosenMenuItem(WebApp& app, int id) {
    static const char* const ACTIONS[] = {
        "",        "windowPositions", "about",    "savePicture", "saveHistory",
        "saveRun", "openRun",         "textSize", "language",    "guide"};
    static_assert(std::size(ACTIONS) == static_cast<std::size_t>(MenuAction::OpenGuide) + 1);
    const MenuOutcome outcome = app.ChooseMenuItem(static_cast<MenuId>(id));
    val result = val::object();
    result.set("action", ACTIONS[static_cast<int>(outcome.action)]);
    if (outcome.action == MenuAction::SavePicture || outcome.action == MenuAction::SaveHistory) {
        const FileKind kind =
            outcome.action == MenuAction::SavePicture ? FileKind::Picture : FileKind::History;
        result.set("name", SuggestedName(kind, LocalTimeNow()));
    }
    if (outcome.action == MenuAction::SetLanguage) {
        result.set("language", outcome.language == MenuLanguage::English ? "en" : "ja");
    }
    return result;
}

// Every text pair, Japanese to English.
val TextPairs() {
    val pairs = val::array();
    for (const Texts::Pair& pair : Texts::All()) {
        pairs.call<void>("push", val::array(std::vector<std::string>{pair.japanese, pair.english}));
    }
    return pairs;
}

// The window's own texts by name, in Japanese.
val UiTexts() {
    val texts = val::object();
    const std::pair<const char*, const char*> named[] = {
        {"title", MainTexts::TITLE},
        {"history", MainTexts::HISTORY},
        {"close", MainTexts::CLOSE},
        {"about", MainTexts::ABOUT},
        {"historyTip", MainTexts::HISTORY_TIP},
        {"pauseTip", MainTexts::PAUSE_TIP},
        {"centreTip", MainTexts::CENTRE_TIP},
        {"endsTip", MainTexts::ENDS_TIP},
        {"startTip", MainTexts::START_TIP},
        {"closeTip", MainTexts::CLOSE_TIP},
        {"aboutVersion", MainTexts::ABOUT_VERSION},
        {"aboutRights", MainTexts::ABOUT_RIGHTS},
        {"aboutContact", MainTexts::ABOUT_CONTACT},
        {"historyCaption", HISTORY_CAPTION},
        {"menuButton", WebTexts::MENU_BUTTON},
        {"badAddress", WebTexts::BAD_ADDRESS},
        {"moreBadValues", WebTexts::MORE_BAD_VALUES},
        {"languageNotKept", WebTexts::LANGUAGE_NOT_KEPT},
        {"cancel", WebTexts::CANCEL},
        {"ended", WebTexts::ENDED},
        {"applicationName", WebTexts::APPLICATION_NAME},
    };
    for (const auto& [name, text] : named) {
        texts.set(name, Text(text));
    }
    return texts;
}

// The address's [name, value] pairs applied in their order; the errors, in order.
val ApplyAddress(WebApp& app, const val& pairs) {
    std::vector<std::pair<std::string, std::string>> given;
    const auto count = pairs["length"].as<unsigned>();
    for (unsigned i = 0; i < count; ++i) {
        given.emplace_back(pairs[i][0].as<std::string>(), pairs[i][1].as<std::string>());
    }
    val errors = val::array();
    for (const std::string& error : app.ApplyAddress(given)) {
        errors.call<void>("push", error);
    }
    return errors;
}

// The numbers the page lays out and paces by, and whether this is the test build (whose
// page then gives the tests a handle on the engine).
val PageConstants() {
    val lines = val::array();
    for (const PageLayout::AboutLine& line : PageLayout::ABOUT_LINES) {
        val entry = val::object();
        entry.set("x", line.x);
        entry.set("y", line.y);
        entry.set("text", Text(line.text));
        lines.call<void>("push", entry);
    }
    val constants = val::object();
    constants.set("fastestSpeed", RunSpeed::FASTEST);
    constants.set("dialogUnitX", PageLayout::DIALOG_UNIT_X);
    constants.set("dialogUnitY", PageLayout::DIALOG_UNIT_Y);
    constants.set("aboutLines", lines);
    constants.set("testBuild", QUORVEL_WEB_TEST_BUILD != 0);
    return constants;
}

}  // namespace

EMSCRIPTEN_BINDINGS(quorvel) {
    emscripten::class_<WebApp>("Engine")
        .constructor<>()
        .function("resize", &WebApp::Resize)
        .function("clientWidth", &WebApp::ClientWidth)
        .function("clientHeight", &WebApp::ClientHeight)
        .function("buttonRow", &ButtonRowOf)
        .function("frameWidth", &WebApp::FrameWidth)
        .function("frameHeight", &WebApp::FrameHeight)
        .function("frameChanged", &WebApp::FrameChanged)
        .function(
            "frameRgba", +[](WebApp& app) { return Bytes(app.FrameRgba()); })
        .function("startStop", &WebApp::StartStop)
        .function("pauseResume", &WebApp::PauseResume)
        .function("endsFlame", &WebApp::EndsFlame)
        .function("centreFlame", &WebApp::CentreFlame)
        .function("timer", &WebApp::OnTimer)
        .function("holdTimer", &WebApp::HoldTimer)
        .function("releaseTimer", &WebApp::ReleaseTimer)
        .function("mouseMove", &WebApp::MouseMove)
        .function("lButtonUp", &WebApp::LButtonUp)
        .function("panelText", &WebApp::PanelText)
        .function("cancelStart", &WebApp::CancelStart)
        .function("settingsView", &SettingsViewOf)
        .function("settingsContinue", &WebApp::SetContinue)
        .function("settingsDefault", &WebApp::ResetSettings)
        .function("answerSettings", &AnswerSettings)
        .function("applyOption", &WebApp::ApplyOption)
        .function("applyAddress", &ApplyAddress)
        .function("state", &StateOf)
        .function("takeDivergence", &TakeDivergence)
        .function("inspection", &Inspection)
        .function("resizeGraph", &WebApp::ResizeGraph)
        .function("graphWidth", &WebApp::GraphWidth)
        .function("graphHeight", &WebApp::GraphHeight)
        .function("graphChanged", &WebApp::GraphChanged)
        .function(
            "graphRgba", +[](WebApp& app) { return Bytes(app.GraphRgba()); })
        .function("historyStatus", &HistoryStatusOf)
        .function("showWholeRun", &WebApp::ShowWholeRun)
        .function("showsWholeRun", &WebApp::ShowsWholeRun)
        .function("setEnglish", &WebApp::SetEnglish)
        .function("titleToShow", &TitleToShow)
        .function("historyCsv", &WebApp::HistoryCsv)
        .function(
            "menu", +[](const WebApp& app) { return MenuItemsOf(app.Menu()); })
        .function("chooseMenuItem", &ChosenMenuItem)
        .function(
            "setMenuLanguage",
            +[](WebApp& app, const std::string& code) {
                app.SetMenuLanguage(code == "en" ? MenuLanguage::English : MenuLanguage::Japanese);
            })
        .function("setGuideShown", &WebApp::SetGuideShown);
    // The item a key selects (0 for none): the key as typed, and whether on the keypad.
    emscripten::function(
        "menuKey", +[](const std::string& key, bool keypad) {
            return static_cast<int>(MenuKeyItem(key, keypad));
        });
    emscripten::function("settingsForm", &SettingsFormTable);
    emscripten::function("textPairs", &TextPairs);
    emscripten::function("uiTexts", &UiTexts);
    emscripten::function("pageConstants", &PageConstants);
}
