// Transparent labels: no background of their own, only their text over what lies beneath.
#pragma once

#include <gtk/gtk.h>

#include "ui/window_def.h"

namespace platform::gtk {

// An input-only event box that draws its text itself, so presses anywhere on it reach it.
GtkWidget* create_label(const ui::ControlDef& def);

}  // namespace platform::gtk
