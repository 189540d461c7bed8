// The main window's keyboard pre-translation: what a key does before its target sees it.
// Backends hand in Windows virtual-key codes and the modifier bits 1 Ctrl, 2 Shift, 4 Alt.
#pragma once

#include <cstdint>
#include <optional>

#include "ui/window_def.h"

namespace ui {

inline constexpr int vk_tab = 9, vk_enter = 13, vk_escape = 27;
// A key an input method took (composing, committing, cancelling, choosing); it is raised as such
// and is none of the dialog keys.
inline constexpr int vk_processed_by_ime = 229;

enum class KeyDecision : std::uint8_t {
    raise,           // raise the key event of the target (if it is one of ours), then deliver
    pass,            // deliver untouched, raising nothing
    focus_next,      // consumed
    focus_previous,  // consumed
    close_window,    // consumed
    click_default,   // consumed: the window's default push button is clicked
};

struct KeyTarget {
    bool enabled = true;
    bool claims_enter = false;  // a multi-line, writable edit box
};

KeyDecision decide_key(int vk, int modifiers, bool key_down, KeyTarget target,
                       const WindowSettings& window = main_window);

// Whether the target control claims plain Enter for itself.
bool claims_enter(const ControlDef& d);

// The window's push button of the default type, if it has one.
std::optional<Control> default_button();

}  // namespace ui
