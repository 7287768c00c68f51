#pragma once

#include <string>
#include <vector>

#include "RunSession.h"
#include "VesselView.h"

class CRunControl;

// The main window's context menu as data: its items, their texts, check marks, enabled states
// and shortcuts, computed from the run and the window's options. A front end draws the items,
// sends back the id the user chose (by the menu or by a key) and does what the answer leaves to
// it: only the front end can open a file dialog, a message box or a browser page.

// An item's id; the speeds follow SPEED_FIRST, one per speed.
enum class MenuId : int {
    None = 0,
    SaveWindowPositions,
    About,
    Speeds,
    SingleStep,
    SavePicture,
    SaveHistory,
    SaveRun,
    OpenRun,
    TextSizes,
    TextStandard,
    TextLarge,
    TextExtraLarge,
    English,
    Japanese,
    Guide,
    WholeRun,  // the history window's
    // Reached by keys only.
    Faster,
    Slower,
    SpeedFirst = 100,
};

enum class MenuLanguage { Japanese, English };

// A check item has its own mark; radio items that follow one another form one group of which
// one is checked.
enum class MenuItemKind { Command, Check, Radio, Submenu, Separator };

// A key as it is typed, without modifiers: the character ('S' for the S key, letters in upper
// case), on the main keyboard or on the numeric keypad.
struct MenuKey {
    char key = 0;
    bool keypad = false;
};

struct MenuItem {
    MenuId id = MenuId::None;
    MenuItemKind kind = MenuItemKind::Command;
    const char* text = "";  // Japanese: the front end shows it in its language
    bool enabled = true;
    bool checked = false;
    std::vector<MenuKey> keys;    // the item's shortcuts, the first the one shown
    std::vector<MenuItem> items;  // a submenu's
};

// What the menu is computed from.
struct MenuState {
    // The run.
    bool started = false;
    bool paused = false;
    int speed = 0;
    // The window: a frame to save, the history kept, and the options.
    bool hasFrame = false;
    bool hasHistory = false;
    bool saveWindowPositions = false;
    TextSize textSize = TextSize::Standard;
    MenuLanguage language = MenuLanguage::Japanese;
    // Which parts a front end offers.
    bool offersWindowPositions = true;
    bool offersRunFiles = true;
    bool offersTextSizes = true;
    bool offersGuide = true;
};

// The run's part of the state.
MenuState MenuStateOf(const CRunControl& control);

std::vector<MenuItem> ContextMenuItems(const MenuState& state);
// The history window's context menu: whether its graph shows the whole run, offered once the
// run keeps a record of its whole length; empty before.
std::vector<MenuItem> HistoryMenuItems(bool wholeRunKept, bool wholeRunShown);

// The item `id` among `items` and their submenus; null when it is not there.
const MenuItem* FindMenuItem(const std::vector<MenuItem>& items, MenuId id);
// The item of the speed `speed` (an index of RunSpeed).
MenuId SpeedMenuItem(int speed);

// The item a key selects, whether or not it is enabled: the key's own entry on the keypad, or
// else the main keyboard's. `key` is one character as typed; a letter in either case. None
// for a key the menu does not use.
MenuId MenuKeyItem(const std::string& key, bool keypad);
// Every key the menu uses, with its item.
struct MenuShortcut {
    MenuKey key;
    MenuId id;
};
const std::vector<MenuShortcut>& MenuShortcuts();

// What choosing an item leaves to the front end.
enum class MenuAction {
    None,
    ToggleWindowPositions,
    ShowAbout,
    SavePicture,
    SaveHistory,
    SaveRun,
    OpenRun,
    SetTextSize,
    SetLanguage,
    OpenGuide,
};
struct MenuOutcome {
    MenuAction action = MenuAction::None;
    TextSize textSize = TextSize::Standard;          // for SetTextSize
    MenuLanguage language = MenuLanguage::Japanese;  // for SetLanguage
    Changes changes;  // what the session's part of the choice changed
    bool operator==(const MenuOutcome&) const = default;
};

// Chooses `id` as the menu of `state` offers it: the speeds, faster, slower and the single step
// are run on `session` here; an item that is disabled or not offered does nothing.
MenuOutcome ChooseMenuItem(CRunSession& session, const MenuState& state, MenuId id);
