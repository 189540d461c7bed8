#include "ui/window_def.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using ui::Control;

TEST(WindowDefinition, TableOrderMatchesTheControlIds) {
    for (std::size_t i = 0; i < ui::controls.size(); ++i)
        EXPECT_EQ(ui::index_of(ui::controls[i].id), static_cast<int>(i)) << ui::controls[i].name;
}

TEST(WindowDefinition, NoTwoControlsOverlapAndAllFitTheClientArea) {
    const ui::Rect client{0, 0, ui::main_window.client_width, ui::main_window.client_height};
    for (const auto& a : ui::controls) {
        EXPECT_GE(a.rect.left, 0) << a.name;
        EXPECT_GE(a.rect.top, 0) << a.name;
        EXPECT_LE(a.rect.right(), client.width) << a.name;
        EXPECT_LE(a.rect.bottom(), client.height) << a.name;
        for (const auto& b : ui::controls) {
            if (&a != &b) {
                EXPECT_FALSE(a.rect.meets(b.rect)) << a.name << " overlaps " << b.name;
            }
        }
    }
}

TEST(WindowDefinition, ControlsReachTheDesignedClientEdges) {
    int right = 0, bottom = 0;
    for (const auto& c : ui::controls) {
        right = std::max(right, c.rect.right());
        bottom = std::max(bottom, c.rect.bottom());
    }
    EXPECT_EQ(right, 606);
    EXPECT_EQ(bottom, 391);
}

TEST(WindowDefinition, AtMostOneHandlerPerControlAndEventKind) {
    std::set<std::pair<Control, app::EventKind>> seen;
    for (const app::Binding& b : ui::bindings()) {
        EXPECT_TRUE(seen.insert({b.source, b.kind}).second) << ui::index_of(b.source);
        EXPECT_NE(b.handler, nullptr);
    }
}

TEST(WindowDefinition, OnlyTheBoundEventsHaveHandlers) {
    using K = app::EventKind;
    const std::set<std::pair<Control, K>> expected{
        {Control::window, K::created},        {Control::按钮1, K::click},   {Control::按钮2, K::click},
        {Control::按钮3, K::click},           {Control::按钮4, K::click},   {Control::编辑框1, K::content_changed},
        {Control::编辑框1, K::key_down},      {Control::透明标签2, K::left_down},
    };
    std::set<std::pair<Control, K>> bound;
    for (const app::Binding& b : ui::bindings()) bound.insert({b.source, b.kind});
    EXPECT_EQ(bound, expected);
}

TEST(WindowDefinition, LabelsTakeNoFocusAndNoButtonIsTheDefault) {
    for (const auto& c : ui::controls) {
        EXPECT_FALSE(c.kind == ui::Kind::TransLabel && c.tab_stop) << c.name;
        EXPECT_FALSE(c.kind == ui::Kind::Button && c.button.is_default) << c.name;
    }
    EXPECT_EQ(ui::def(Control::透明标签2).label.text_colour, (ui::Rgb{0, 0, 128}));
}

}  // namespace
