// Uses key value constants only, so it builds without the toolkit's libraries.
#include "platform/gtk/keymap.h"

#include <gdk/gdkkeysyms.h>

namespace platform::gtk {

namespace {

struct Row {
    unsigned keyval;
    int vk;
};

constexpr Row table[] = {
    {GDK_KEY_BackSpace, 8},   {GDK_KEY_Tab, 9},          {GDK_KEY_ISO_Left_Tab, 9}, {GDK_KEY_Return, 13},
    {GDK_KEY_KP_Enter, 13},   {GDK_KEY_ISO_Enter, 13},   {GDK_KEY_Shift_L, 16},     {GDK_KEY_Shift_R, 16},
    {GDK_KEY_Control_L, 17},  {GDK_KEY_Control_R, 17},   {GDK_KEY_Alt_L, 18},       {GDK_KEY_Alt_R, 18},
    {GDK_KEY_Meta_L, 18},     {GDK_KEY_ISO_Level3_Shift, 18}, {GDK_KEY_Pause, 19},  {GDK_KEY_Caps_Lock, 20},
    {GDK_KEY_Escape, 27},     {GDK_KEY_space, 32},       {GDK_KEY_KP_Space, 32},    {GDK_KEY_Page_Up, 33},
    {GDK_KEY_KP_Page_Up, 33}, {GDK_KEY_Page_Down, 34},   {GDK_KEY_KP_Page_Down, 34}, {GDK_KEY_End, 35},
    {GDK_KEY_KP_End, 35},     {GDK_KEY_Home, 36},        {GDK_KEY_KP_Home, 36},     {GDK_KEY_Left, 37},
    {GDK_KEY_KP_Left, 37},    {GDK_KEY_Up, 38},          {GDK_KEY_KP_Up, 38},       {GDK_KEY_Right, 39},
    {GDK_KEY_KP_Right, 39},   {GDK_KEY_Down, 40},        {GDK_KEY_KP_Down, 40},     {GDK_KEY_Print, 44},
    {GDK_KEY_Insert, 45},     {GDK_KEY_KP_Insert, 45},   {GDK_KEY_Delete, 46},      {GDK_KEY_KP_Delete, 46},
    {GDK_KEY_Super_L, 91},    {GDK_KEY_Super_R, 92},     {GDK_KEY_Menu, 93},        {GDK_KEY_KP_Multiply, 106},
    {GDK_KEY_KP_Add, 107},    {GDK_KEY_KP_Separator, 108}, {GDK_KEY_KP_Subtract, 109}, {GDK_KEY_KP_Decimal, 110},
    {GDK_KEY_KP_Divide, 111}, {GDK_KEY_Num_Lock, 144},   {GDK_KEY_Scroll_Lock, 145}, {GDK_KEY_semicolon, 186},
    {GDK_KEY_equal, 187},     {GDK_KEY_comma, 188},      {GDK_KEY_minus, 189},      {GDK_KEY_period, 190},
    {GDK_KEY_slash, 191},     {GDK_KEY_grave, 192},      {GDK_KEY_bracketleft, 219}, {GDK_KEY_backslash, 220},
    {GDK_KEY_bracketright, 221}, {GDK_KEY_apostrophe, 222},
};

}  // namespace

int virtual_key(unsigned keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return static_cast<int>(keyval - GDK_KEY_a) + 'A';
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return static_cast<int>(keyval - GDK_KEY_A) + 'A';
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<int>(keyval - GDK_KEY_0) + '0';
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return static_cast<int>(keyval - GDK_KEY_KP_0) + '0';
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return static_cast<int>(keyval - GDK_KEY_F1) + 112;
    for (const Row& r : table)
        if (r.keyval == keyval) return r.vk;
    return 0;
}

}  // namespace platform::gtk
