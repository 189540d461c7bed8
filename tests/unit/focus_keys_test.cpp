#include <gtest/gtest.h>

#include "app/event.h"
#include "ui/focus.h"
#include "ui/keys.h"

namespace {

using ui::Control;
using ui::KeyDecision;

TEST(FocusOrder, LaterControlsComeFirstAmongEqualTabOrderValues) {
    const std::vector<Control> expected{Control::编辑框1, Control::按钮1, Control::基调,
                                        Control::按钮2,   Control::按钮3, Control::按钮4};
    auto order = ui::focus_order();
    EXPECT_EQ(std::vector<Control>(order.begin(), order.end()), expected);
    EXPECT_EQ(ui::first_focus(), Control::编辑框1);
}

TEST(FocusOrder, TabAndShiftTabWrapAtBothEnds) {
    struct Row {
        std::optional<Control> from;
        bool backwards;
        Control to;
    };
    const Row rows[] = {
        {Control::编辑框1, false, Control::按钮1}, {Control::编辑框1, true, Control::按钮4},
        {Control::按钮4, false, Control::编辑框1}, {Control::按钮1, false, Control::基调},
        {Control::基调, false, Control::按钮2},     {Control::基调, true, Control::按钮1},
        {std::nullopt, false, Control::编辑框1},   {std::nullopt, true, Control::按钮4},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ui::next_focus(r.from, r.backwards), r.to)
            << (r.from ? ui::def(*r.from).name : "window") << (r.backwards ? " shift+tab" : " tab");
}

TEST(PreTranslation, DialogKeysAndWhatGoesOnAsAnEvent) {
    constexpr int ctrl = app::mod_ctrl, shift = app::mod_shift, alt = app::mod_alt;
    struct Row {
        const char* label;
        int vk, mods;
        bool down;
        ui::KeyTarget target;
        KeyDecision decision;
    };
    const ui::KeyTarget edit{}, multiline{.claims_enter = true}, disabled{.enabled = false};
    const Row rows[] = {
        {"tab", 9, 0, true, edit, KeyDecision::focus_next},
        {"shift+tab", 9, shift, true, edit, KeyDecision::focus_previous},
        {"ctrl+tab raises", 9, ctrl, true, edit, KeyDecision::raise},
        {"tab released raises", 9, 0, false, edit, KeyDecision::raise},
        {"esc closes", 27, 0, true, edit, KeyDecision::close_window},
        {"shift+esc raises", 27, shift, true, edit, KeyDecision::raise},
        {"ctrl+esc raises", 27, ctrl, true, edit, KeyDecision::raise},
        {"enter raises", 13, 0, true, edit, KeyDecision::raise},
        {"alt+enter raises", 13, alt, true, edit, KeyDecision::raise},
        {"enter claimed by a multi-line box", 13, 0, true, multiline, KeyDecision::raise},
        {"f1 raises: no help", 112, 0, true, edit, KeyDecision::raise},
        {"arrow raises", 40, 0, true, edit, KeyDecision::raise},
        {"alt+letter raises: no access keys", 'A', alt, true, edit, KeyDecision::raise},
        {"disabled target: untouched", 27, 0, true, disabled, KeyDecision::pass},
        {"taken by an input method raises", 229, 0, true, edit, KeyDecision::raise},
        {"taken by an input method, with shift, raises", 229, shift, true, edit, KeyDecision::raise},
        {"taken by an input method, released, raises", 229, 0, false, edit, KeyDecision::raise},
    };
    for (const Row& r : rows) EXPECT_EQ(ui::decide_key(r.vk, r.mods, r.down, r.target), r.decision) << r.label;
}

TEST(PreTranslation, WindowSettingsThatWouldTakeEnterOrKeepEsc) {
    ui::WindowSettings s = ui::main_window;
    s.enter_moves_focus = true;
    EXPECT_EQ(ui::decide_key(13, 0, true, {}, s), KeyDecision::focus_next);
    s.esc_closes = false;
    EXPECT_EQ(ui::decide_key(27, 0, true, {}, s), KeyDecision::raise);
}

}  // namespace
