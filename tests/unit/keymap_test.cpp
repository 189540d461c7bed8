#include "platform/gtk/keymap.h"

#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>

namespace {

TEST(KeyMapping, GdkKeyValuesToVirtualKeyCodes) {
    struct Row {
        const char* label;
        unsigned keyval;
        int vk;
    };
    const Row rows[] = {
        {"enter", GDK_KEY_Return, 13},      {"keypad enter", GDK_KEY_KP_Enter, 13},
        {"tab", GDK_KEY_Tab, 9},            {"shift+tab", GDK_KEY_ISO_Left_Tab, 9},
        {"escape", GDK_KEY_Escape, 27},     {"space", GDK_KEY_space, 32},
        {"a", GDK_KEY_a, 'A'},              {"A", GDK_KEY_A, 'A'},
        {"z", GDK_KEY_z, 'Z'},              {"7", GDK_KEY_7, '7'},
        {"keypad 7", GDK_KEY_KP_7, '7'},    {"keypad 0", GDK_KEY_KP_0, '0'},
        {"f1", GDK_KEY_F1, 112},            {"f12", GDK_KEY_F12, 123},
        {"left", GDK_KEY_Left, 37},         {"down", GDK_KEY_Down, 40},
        {"backspace", GDK_KEY_BackSpace, 8}, {"delete", GDK_KEY_Delete, 46},
        {"ctrl", GDK_KEY_Control_L, 17},    {"shift", GDK_KEY_Shift_R, 16},
        {"alt", GDK_KEY_Alt_L, 18},         {"comma", GDK_KEY_comma, 188},
        {"unknown", GDK_KEY_dead_acute, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(platform::gtk::virtual_key(r.keyval), r.vk) << r.label;
}

}  // namespace
