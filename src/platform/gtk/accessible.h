// What a screen reader is told about the controls (ATK, read over AT-SPI): names, roles, the edit
// box's label, and the credit line as a link whose action presses it.
#pragma once

#include <gtk/gtk.h>

#include "ui/control.h"

namespace platform::gtk {

class Backend;

// The event box a label is made of; its accessible object has the label role.
GtkWidget* new_label_box();

// Names one control and relates it to its label, once its widget exists (the label's too).
void describe_control(Backend& backend, ui::Control control);
void describe_controls(Backend& backend);

}  // namespace platform::gtk
