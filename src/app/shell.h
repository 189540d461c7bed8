// Start-up, the main loop and the end of the process, in one fixed order.
#pragma once

#include <string_view>

#include "app/dispatcher.h"
#include "app/platform.h"

namespace app {

inline constexpr int exit_fatal = -1;

class Shell {
public:
    Shell(Platform& platform, Dispatcher& dispatcher);

    // Runs the program and leaves the process; returns only if the platform's leave_process does.
    [[noreturn]] void start();
    // Suppresses every event, tells the user, and leaves with exit code -1.
    [[noreturn]] void fatal_stop(std::string_view message);

private:
    void load_main_window();
    void create_browser_engine();
    [[noreturn]] void end(int exit_code);

    Platform& platform_;
    Dispatcher& dispatcher_;
    bool initialised_component_layer_ = false;
};

}  // namespace app
