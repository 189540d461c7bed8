// The program's entry on Windows. It takes no command line.
#include <windows.h>

#include "platform/win32/run.h"
#include "ui/window_def.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { platform::win32::run(instance, ui::bindings()); }
