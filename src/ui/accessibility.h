// What a screen reader is told about each control, taken from the window definition, so that every
// backend names the controls alike.
#pragma once

#include <span>
#include <string_view>

#include "ui/window_def.h"

namespace ui {

// The name a control is announced by: the text of the label that names it, else the text it shows
// (a button's caption, a label's line), else, for a control that shows none, its own name. Empty
// for the window itself.
std::string_view accessible_name(Control c);

// The order of the native child windows, topmost first: the table's, except that a label that
// names a control sits directly above it. Windows' accessibility proxies name an edit box after the
// static text right before it in this order, and stop looking at the first tab stop.
std::span<const Control> stacking_order();

}  // namespace ui
