#include "MenuModel.h"

#include <cctype>
#include <utility>

#include "ExportTexts.h"
#include "MainTexts.h"
#include "RunFileTexts.h"
#include "RunSpeed.h"
#include "WholeRunGraph.h"

namespace {

struct TextSizeItem {
    MenuId id;
    const char* text;
    TextSize size;
};
constexpr TextSizeItem TEXT_SIZE_ITEMS[] = {
    {MenuId::TextStandard, MainTexts::TEXT_SIZE_STANDARD, TextSize::Standard},
    {MenuId::TextLarge, MainTexts::TEXT_SIZE_LARGE, TextSize::Large},
    {MenuId::TextExtraLarge, MainTexts::TEXT_SIZE_EXTRA_LARGE, TextSize::ExtraLarge},
};

// Each language is named in its own words, whatever the current one.
struct LanguageItem {
    MenuId id;
    const char* text;
    MenuLanguage language;
};
constexpr LanguageItem LANGUAGE_ITEMS[] = {
    {MenuId::English, MainTexts::LANGUAGE_ENGLISH, MenuLanguage::English},
    {MenuId::Japanese, MainTexts::LANGUAGE_JAPANESE, MenuLanguage::Japanese},
};

MenuItem Item(MenuId id, const char* text, bool enabled = true) {
    MenuItem item;
    item.id = id;
    item.text = text;
    item.enabled = enabled;
    return item;
}

MenuItem Choice(MenuItemKind kind, MenuId id, const char* text, bool checked) {
    MenuItem item = Item(id, text);
    item.kind = kind;
    item.checked = checked;
    return item;
}

MenuItem Separator() {
    MenuItem item;
    item.kind = MenuItemKind::Separator;
    return item;
}

std::vector<MenuKey> KeysOf(MenuId id) {
    std::vector<MenuKey> keys;
    for (const MenuShortcut& shortcut : MenuShortcuts()) {
        if (shortcut.id == id) {
            keys.push_back(shortcut.key);
        }
    }
    return keys;
}

}  // namespace

MenuId SpeedMenuItem(int speed) {
    return static_cast<MenuId>(static_cast<int>(MenuId::SpeedFirst) + speed);
}

const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, MenuId id) {
    for (const MenuItem& item : items) {
        if (item.id == id) {
            return &item;
        }
        if (const MenuItem* inner = FindMenuItem(item.items, id)) {
            return inner;
        }
    }
    return nullptr;
}

MenuState MenuStateOf(const CRunControl& control) {
    MenuState state;
    state.started = control.HasStarted();
    state.paused = control.IsPaused();
    state.speed = control.Speed();
    return state;
}

const std::vector<MenuShortcut>& MenuShortcuts() {
    // Faster: + (or =, on the same key unshifted); slower: -; one step: S.
    static const std::vector<MenuShortcut> SHORTCUTS = {
        {{'+'}, MenuId::Faster}, {{'='}, MenuId::Faster},       {{'+', true}, MenuId::Faster},
        {{'-'}, MenuId::Slower}, {{'-', true}, MenuId::Slower}, {{'S'}, MenuId::SingleStep},
    };
    return SHORTCUTS;
}

MenuId MenuKeyItem(const std::string& key, bool keypad) {
    if (key.size() != 1) {
        return MenuId::None;
    }
    const char typed = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    for (const bool onKeypad : {keypad, false}) {
        for (const MenuShortcut& shortcut : MenuShortcuts()) {
            if (shortcut.key.key == typed && shortcut.key.keypad == onKeypad) {
                return shortcut.id;
            }
        }
    }
    return MenuId::None;
}

std::vector<MenuItem> ContextMenuItems(const MenuState& state) {
    std::vector<MenuItem> menu;
    // The window's own items first, as a system menu offers them.
    if (state.offersWindowPositions) {
        menu.push_back(Choice(MenuItemKind::Check, MenuId::SaveWindowPositions,
                              MainTexts::SAVE_STATE, state.saveWindowPositions));
    }
    menu.push_back(Item(MenuId::About, MainTexts::ABOUT));

    MenuItem speeds = Item(MenuId::Speeds, RunSpeed::MENU);
    speeds.kind = MenuItemKind::Submenu;
    for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
        speeds.items.push_back(Choice(MenuItemKind::Radio, SpeedMenuItem(speed),
                                      RunSpeed::LABELS[speed], speed == state.speed));
    }
    menu.push_back(speeds);
    MenuItem step = Item(MenuId::SingleStep, RunSpeed::SINGLE_STEP, state.paused);
    step.keys = KeysOf(MenuId::SingleStep);
    menu.push_back(step);

    menu.push_back(Item(MenuId::SavePicture, ExportTexts::SAVE_PICTURE, state.hasFrame));
    menu.push_back(
        Item(MenuId::SaveHistory, ExportTexts::SAVE_HISTORY, state.started && state.hasHistory));
    if (state.offersRunFiles) {
        menu.push_back(Item(MenuId::SaveRun, RunFileTexts::SAVE_RUN, state.started));
        menu.push_back(Item(MenuId::OpenRun, RunFileTexts::OPEN_RUN));
    }

    if (state.offersTextSizes) {
        menu.push_back(Separator());
        MenuItem sizes = Item(MenuId::TextSizes, MainTexts::TEXT_SIZE_MENU);
        sizes.kind = MenuItemKind::Submenu;
        for (const TextSizeItem& size : TEXT_SIZE_ITEMS) {
            sizes.items.push_back(
                Choice(MenuItemKind::Radio, size.id, size.text, size.size == state.textSize));
        }
        menu.push_back(sizes);
    }

    menu.push_back(Separator());
    for (const LanguageItem& language : LANGUAGE_ITEMS) {
        menu.push_back(Choice(MenuItemKind::Radio, language.id, language.text,
                              language.language == state.language));
    }

    if (state.offersGuide) {
        menu.push_back(Separator());
        menu.push_back(Item(MenuId::Guide, MainTexts::GUIDE));
    }
    return menu;
}

std::vector<MenuItem> HistoryMenuItems(bool wholeRunKept, bool wholeRunShown) {
    if (!wholeRunKept) {
        return {};
    }
    return {Choice(MenuItemKind::Check, MenuId::WholeRun, WholeRunTexts::MENU_ITEM, wholeRunShown)};
}

MenuOutcome ChooseMenuItem(CRunSession& session, const MenuState& state, MenuId id) {
    MenuOutcome outcome;
    if (id == MenuId::Faster || id == MenuId::Slower) {
        const int step = id == MenuId::Faster ? 1 : -1;
        outcome.changes = session.SetSpeed(session.Control().Speed() + step);
        return outcome;
    }
    const std::vector<MenuItem> menu = ContextMenuItems(state);
    const MenuItem* item = FindMenuItem(menu, id);
    if (item == nullptr || !item->enabled || item->kind == MenuItemKind::Submenu) {
        return outcome;
    }
    const int speed = static_cast<int>(id) - static_cast<int>(MenuId::SpeedFirst);
    if (speed >= 0 && speed < RunSpeed::COUNT) {
        outcome.changes = session.SetSpeed(speed);
    } else if (id == MenuId::SingleStep) {
        outcome.changes = session.SingleStep();
    }
    for (const TextSizeItem& size : TEXT_SIZE_ITEMS) {
        if (size.id == id) {
            outcome.action = MenuAction::SetTextSize;
            outcome.textSize = size.size;
        }
    }
    for (const LanguageItem& language : LANGUAGE_ITEMS) {
        if (language.id == id) {
            outcome.action = MenuAction::SetLanguage;
            outcome.language = language.language;
        }
    }
    // The items whose whole work is the front end's.
    static constexpr std::pair<MenuId, MenuAction> FRONT_END_ACTIONS[] = {
        {MenuId::SaveWindowPositions, MenuAction::ToggleWindowPositions},
        {MenuId::About, MenuAction::ShowAbout},
        {MenuId::SavePicture, MenuAction::SavePicture},
        {MenuId::SaveHistory, MenuAction::SaveHistory},
        {MenuId::SaveRun, MenuAction::SaveRun},
        {MenuId::OpenRun, MenuAction::OpenRun},
        {MenuId::Guide, MenuAction::OpenGuide},
    };
    for (const auto& [itemId, action] : FRONT_END_ACTIONS) {
        if (itemId == id) {
            outcome.action = action;
        }
    }
    return outcome;
}
