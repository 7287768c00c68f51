// The context menu as data: which items a front end shows, in which order, which are enabled
// and checked in each state of the run, which item a key selects and what choosing one does.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "MenuModel.h"
#include "RunSpeed.h"

namespace {

// The top level as ids, separators as None.
std::vector<MenuId> TopLevel(const MenuState& state) {
    std::vector<MenuId> ids;
    for (const MenuItem& item : ContextMenuItems(state)) {
        ids.push_back(item.id);
    }
    return ids;
}

TEST(ContextMenu, TheDesktopsAndThePagesItemsInOrder) {
    using enum MenuId;
    EXPECT_EQ(TopLevel({}), (std::vector<MenuId>{SaveWindowPositions, About, Speeds, SingleStep,
                                                 SavePicture, SaveHistory, SaveRun, OpenRun, None,
                                                 TextSizes, None, English, Japanese, None, Guide}));
    MenuState page;
    page.offersWindowPositions = page.offersRunFiles = page.offersTextSizes = false;
    page.offersGuide = false;
    EXPECT_EQ(TopLevel(page), (std::vector<MenuId>{About, Speeds, SingleStep, SavePicture,
                                                   SaveHistory, None, English, Japanese}));
    const std::vector<MenuItem> items = ContextMenuItems({});
    const MenuItem* speeds = FindMenuItem(items, Speeds);
    ASSERT_EQ(speeds->items.size(), static_cast<std::size_t>(RunSpeed::COUNT));
    EXPECT_STREQ(speeds->items.back().text, "最大");
    const MenuItem* step = FindMenuItem(items, SingleStep);
    ASSERT_EQ(step->keys.size(), 1u);
    EXPECT_EQ(step->keys[0].key, 'S');
}

TEST(ContextMenu, EnabledAndCheckedFollowTheState) {
    struct Case {
        const char* label;
        std::function<void(MenuState&)> set;
        MenuId id;
        bool enabled;
        bool checked;
    };
    const auto none = [](MenuState&) {};
    const auto started = [](MenuState& s) { s.started = s.hasHistory = true; };
    const Case cases[] = {
        {"step before a run", none, MenuId::SingleStep, false, false},
        {"step while running", started, MenuId::SingleStep, false, false},
        {"step while paused", [](MenuState& s) { s.started = s.paused = true; }, MenuId::SingleStep,
         true, false},
        {"picture without a frame", none, MenuId::SavePicture, false, false},
        {"picture with a frame", [](MenuState& s) { s.hasFrame = true; }, MenuId::SavePicture, true,
         false},
        {"history before a run", [](MenuState& s) { s.hasHistory = true; }, MenuId::SaveHistory,
         false, false},
        {"history of a run", started, MenuId::SaveHistory, true, false},
        {"history without its window", [](MenuState& s) { s.started = true; }, MenuId::SaveHistory,
         false, false},
        {"run before a run", none, MenuId::SaveRun, false, false},
        {"run of a run", started, MenuId::SaveRun, true, false},
        {"open always", none, MenuId::OpenRun, true, false},
        {"positions off", none, MenuId::SaveWindowPositions, true, false},
        {"positions on", [](MenuState& s) { s.saveWindowPositions = true; },
         MenuId::SaveWindowPositions, true, true},
        {"normal speed", none, SpeedMenuItem(RunSpeed::NORMAL), true, true},
        {"other speed", none, SpeedMenuItem(3), true, false},
        {"speed 3", [](MenuState& s) { s.speed = 3; }, SpeedMenuItem(3), true, true},
        {"standard size", none, MenuId::TextStandard, true, true},
        {"large size", [](MenuState& s) { s.textSize = TextSize::Large; }, MenuId::TextLarge, true,
         true},
        {"not standard", [](MenuState& s) { s.textSize = TextSize::Large; }, MenuId::TextStandard,
         true, false},
        {"Japanese", none, MenuId::Japanese, true, true},
        {"English", [](MenuState& s) { s.language = MenuLanguage::English; }, MenuId::English, true,
         true},
    };
    for (const Case& c : cases) {
        MenuState state;
        c.set(state);
        const std::vector<MenuItem> items = ContextMenuItems(state);
        const MenuItem* item = FindMenuItem(items, c.id);
        ASSERT_NE(item, nullptr) << c.label;
        EXPECT_EQ(item->enabled, c.enabled) << c.label;
        EXPECT_EQ(item->checked, c.checked) << c.label;
    }
}

TEST(ContextMenu, TheHistoryWindowOffersTheWholeRunOnceItIsKept) {
    EXPECT_TRUE(HistoryMenuItems(false, false).empty());
    for (const bool shown : {false, true}) {
        const std::vector<MenuItem> items = HistoryMenuItems(true, shown);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].kind, MenuItemKind::Check);
        EXPECT_EQ(items[0].checked, shown);
    }
}

TEST(ContextMenu, KeysSelectTheirItems) {
    struct Case {
        const char* key;
        bool keypad;
        MenuId id;
    };
    const Case cases[] = {
        {"+", false, MenuId::Faster},     {"=", false, MenuId::Faster},
        {"+", true, MenuId::Faster},      {"=", true, MenuId::Faster},  // as the main key
        {"-", false, MenuId::Slower},     {"-", true, MenuId::Slower},
        {"s", false, MenuId::SingleStep}, {"S", false, MenuId::SingleStep},
        {"x", false, MenuId::None},       {"", false, MenuId::None},
        {"Enter", false, MenuId::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuKeyItem(c.key, c.keypad), c.id) << c.key << (c.keypad ? " keypad" : "");
    }
}

TEST(ContextMenu, ChoosingRunsTheRunsItemsAndLeavesTheRestToTheFrontEnd) {
    CRunSession session;
    const auto choose = [&session](MenuId id, MenuState state = {}) {
        const MenuState run = MenuStateOf(session.Control());
        state.started = run.started;
        state.paused = run.paused;
        state.speed = run.speed;
        return ChooseMenuItem(session, state, id);
    };
    const auto action = [&choose](MenuId id, MenuState state = {}) {
        return choose(id, state).action;
    };
    // Before a run: no run to save; the speeds are kept for the session and shown in the title.
    EXPECT_EQ(choose(MenuId::SaveRun), MenuOutcome{});
    EXPECT_TRUE(choose(SpeedMenuItem(3)).changes.Has(Shown::Title));
    EXPECT_EQ(session.Control().Speed(), 3);
    for (int i = 0; i < 4; ++i) {
        choose(MenuId::Faster);
    }
    EXPECT_EQ(session.Control().Speed(), RunSpeed::FASTEST);
    choose(MenuId::Slower);
    EXPECT_EQ(session.Control().Speed(), RunSpeed::FASTEST - 1);

    session.StartStop();
    SimulationSettings small;
    small.columns = 6;
    small.rows = 5;
    session.Start(StartAnswer{small, false});
    EXPECT_EQ(choose(MenuId::SingleStep), MenuOutcome{});  // running: disabled
    EXPECT_EQ(session.Simulation().TicksRun(), 0);
    session.PauseResume();
    EXPECT_TRUE(choose(MenuId::SingleStep).changes.Any());
    EXPECT_EQ(session.Simulation().TicksRun(), 1);

    EXPECT_EQ(action(MenuId::SaveRun), MenuAction::SaveRun);
    MenuState page;
    page.offersRunFiles = false;
    EXPECT_EQ(action(MenuId::SaveRun, page), MenuAction::None);  // not offered
    EXPECT_EQ(action(MenuId::SaveHistory), MenuAction::None);    // no history kept
    EXPECT_EQ(action(MenuId::Speeds), MenuAction::None);         // a submenu
    EXPECT_EQ(action(MenuId::About), MenuAction::ShowAbout);
    EXPECT_EQ(action(MenuId::SaveWindowPositions), MenuAction::ToggleWindowPositions);
    const MenuOutcome size = choose(MenuId::TextExtraLarge);
    EXPECT_EQ(size.action, MenuAction::SetTextSize);
    EXPECT_EQ(size.textSize, TextSize::ExtraLarge);
    const MenuOutcome language = choose(MenuId::English);
    EXPECT_EQ(language.action, MenuAction::SetLanguage);
    EXPECT_EQ(language.language, MenuLanguage::English);
    EXPECT_EQ(choose(static_cast<MenuId>(999)), MenuOutcome{});
}

}  // namespace
