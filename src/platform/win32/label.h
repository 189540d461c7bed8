// Transparent labels: no background of their own, only their text over what lies beneath.
#pragma once

#include <windows.h>

#include "ui/window_def.h"

namespace platform::win32 {

// Hidden at the rectangle given, the definition's at the window's scale; its text and colour come
// from the definition, which outlives the window. Null when the window cannot be made.
HWND create_label(HWND parent, const ui::ControlDef& def, const ui::Rect& at, int id);

// The DrawText layout of a label's alignment and wrapping settings.
UINT label_format(const ui::LabelSettings& s);

}  // namespace platform::win32
