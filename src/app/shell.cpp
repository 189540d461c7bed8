#include "app/shell.h"

#include <cstdlib>

namespace app {

namespace {
constexpr std::string_view build_failed = "岚谱基调查询无法启动：主窗口无法创建。";
}

Shell::Shell(Platform& platform, Dispatcher& dispatcher) : platform_(platform), dispatcher_(dispatcher) {
    dispatcher_.on_fatal([this](std::string_view message) { fatal_stop(message); });
}

void Shell::start() {
    initialised_component_layer_ = platform_.init_component_layer();
    load_main_window();
    if (platform_.window_exists()) platform_.run_loop();
    end(0);
}

void Shell::load_main_window() {
    dispatcher_.suppress();
    if (!platform_.build_main_window()) fatal_stop(build_failed);
    // What the controls reported while they were set up is dropped, not postponed.
    dispatcher_.resume();

    dispatcher_.raise({.kind = EventKind::created});
    if (platform_.window_exists()) dispatcher_.raise({.kind = EventKind::moved});
    if (platform_.window_exists()) dispatcher_.raise({.kind = EventKind::resized});
    if (!platform_.window_exists()) return;
    // Window first: the engine takes longer to start than the toolkit needs for the whole window,
    // so the window is on screen and takes input before the engine exists. The view keeps what is
    // written to it meanwhile, and the engine starts on the last address written.
    platform_.after_first_frame([this] { create_browser_engine(); });
    platform_.show_main_window();
}

void Shell::create_browser_engine() {
    // Closed before its first frame: nothing is left to host an engine.
    if (!platform_.window_exists()) return;
    // Part of building the window, only later: failing it is the same fatal stop.
    if (!platform_.create_browser_engine()) fatal_stop(build_failed);
}

void Shell::fatal_stop(std::string_view message) {
    dispatcher_.end_for_good();
    platform_.show_fatal_message(message);
    end(exit_fatal);
}

void Shell::end(int exit_code) {
    dispatcher_.end_for_good();
    platform_.release();
    if (initialised_component_layer_) platform_.uninit_component_layer();
    platform_.leave_process(exit_code);
    std::abort();  // the compiler cannot see that a virtual [[noreturn]] call does not return
}

}  // namespace app
