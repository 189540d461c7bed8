// The main window's pre-translation: every key and mouse message aimed at the main window or a
// window inside it passes here before it is translated and dispatched.
#pragma once

#include <windows.h>

namespace platform::win32 {

class Backend;

// True when the message is consumed here and must not be delivered.
bool pretranslate(Backend& backend, MSG& m);

}  // namespace platform::win32
