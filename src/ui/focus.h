// Where Tab and Shift+Tab move the keyboard focus, derived from the control table.
#pragma once

#include <optional>
#include <span>

#include "ui/window_def.h"

namespace ui {

// Visible, enabled tab stops that can take the focus, by tab-order value; among equal values the
// control later in the table comes first.
std::span<const Control> focus_order();

// The control that takes the focus when the window is first activated.
std::optional<Control> first_focus();

// The next (or previous) control of the focus order, wrapping at both ends. From a place outside
// the order (the window itself) Tab goes to the first control and Shift+Tab to the last.
std::optional<Control> next_focus(std::optional<Control> from, bool backwards);

}  // namespace ui
