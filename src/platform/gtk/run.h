// Starts the program on GTK with a given binding table and never returns.
#pragma once

#include <span>

#include "app/event.h"

namespace platform::gtk {

[[noreturn]] void run(std::span<const app::Binding> bindings);

}  // namespace platform::gtk
