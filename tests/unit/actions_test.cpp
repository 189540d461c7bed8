#include "lookup/actions.h"

#include <gtest/gtest.h>

#include "fake_gui.h"
#include "lookup/sites.h"

namespace {

using Log = std::vector<std::string>;
const std::string prefix(lookup::search_prefix);

Log search_log(const std::string& title, const std::string& escaped) {
    return {"read 编辑框1.content",
            "set 基调.address = " + prefix + escaped,
            "read 编辑框1.content",
            "set window.caption = 岚谱基调查询 - 正在搜索基调  " + title,
            "set 基调.silent = true",
            "redraw"};
}

TEST(SearchAction, ReadsComposesWritesInOrder) {
    struct Row {
        const char* label;
        std::string title, escaped;
    };
    const Row rows[] = {
        {"empty box: bare prefix, caption ends in its two spaces", "", ""},
        {"two words", "Midnight Drive", "Midnight%20Drive"},
        {"spaces around stay, escaped in the address and raw in the caption", " x ", "%20x%20"},
        {"& and # reach the site whole", "A&B#C", "A%26B%23C"},
        {"chinese", "星河漫游", "%E6%98%9F%E6%B2%B3%E6%BC%AB%E6%B8%B8"},
    };
    for (const Row& r : rows) {
        test::FakeGui gui;
        gui.content = r.title;
        EXPECT_EQ(lookup::search(gui, {}), std::nullopt);
        EXPECT_EQ(gui.log, search_log(r.title, r.escaped)) << r.label;
    }
}

TEST(SearchAction, AVeryLongTitleReachesAddressAndCaptionWhole) {
    test::FakeGui gui;
    gui.content = std::string(100000, 'k');
    lookup::search(gui, {});
    EXPECT_EQ(gui.log, search_log(gui.content, gui.content));
}

TEST(EnterHandler, OnlyKeyCode13SearchesWhateverTheModifiers) {
    struct Row {
        std::int32_t key, mods;
        bool searches;
    };
    const Row rows[] = {{13, 0, true}, {13, 1, true}, {13, 2, true}, {13, 4, true},
                        {10, 0, false}, {27, 0, false}, {65, 0, false}, {13 + 256, 0, false},
                        {229, 0, false}};  // an input method took the key (committing, say)
    for (const Row& r : rows) {
        test::FakeGui gui;
        gui.content = "t";
        const std::int32_t args[] = {r.key, r.mods};
        EXPECT_EQ(lookup::search_on_enter(gui, args), std::nullopt) << "never a result, so never a veto";
        EXPECT_EQ(gui.log, r.searches ? search_log("t", "t") : Log{}) << r.key << "/" << r.mods;
    }
}

TEST(EnterHandler, ClickAndEnterProduceTheSameResult) {
    test::FakeGui clicked, entered;
    clicked.content = entered.content = "Same Title";
    lookup::search(clicked, {});
    const std::int32_t args[] = {13, 0};
    lookup::search_on_enter(entered, args);
    EXPECT_EQ(clicked.log, entered.log);
}

TEST(HomeAction, StartPageHomeCaptionSilentRedraw) {
    test::FakeGui gui;
    EXPECT_EQ(lookup::home(gui, {}), std::nullopt);
    EXPECT_EQ(gui.log, (Log{"set 基调.address = " + std::string(lookup::start_page), "set window.caption = 岚谱基调查询 ",
                            "set 基调.silent = true", "redraw"}));
}

TEST(SiteLinks, EachOpensItsRootAndTouchesNothingElse) {
    struct Row {
        lookup::Result (*action)(app::Gui&, lookup::Args);
        std::string_view root;
    };
    const Row rows[] = {{lookup::open_main_site, lookup::main_site_root}, {lookup::open_key_site, lookup::key_site_root}};
    for (const Row& r : rows) {
        test::FakeGui gui;
        const std::int32_t press[] = {3, 4, 7};  // a label press: position and modifiers are ignored
        EXPECT_EQ(r.action(gui, lookup::Args(press)), std::nullopt);
        EXPECT_EQ(gui.log, (Log{"open " + std::string(r.root)}));
    }
    EXPECT_NE(lookup::main_site_root, lookup::key_site_root);
}

}  // namespace
