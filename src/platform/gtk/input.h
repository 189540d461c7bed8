// The main window's pre-translation: every key and mouse event passes through it before GTK
// delivers it to its widget.
#pragma once

namespace platform::gtk {

class Backend;

void install_input(Backend& backend);

}  // namespace platform::gtk
