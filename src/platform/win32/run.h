// Starts the program on Win32 with a given binding table and never returns.
#pragma once

#include <windows.h>

#include <span>

#include "app/event.h"

namespace platform::win32 {

[[noreturn]] void run(HINSTANCE instance, std::span<const app::Binding> bindings);

}  // namespace platform::win32
