// What the shell asks of a backend to start, run and end the program.
#pragma once

#include <functional>
#include <string_view>

namespace app {

class Platform {
public:
    // Initialises what the browser engine needs before the first window; true when this call did it.
    virtual bool init_component_layer() = 0;
    virtual void uninit_component_layer() = 0;
    // Builds the main window and its controls from the definition, hidden; false when it cannot.
    // The browser view is a plain area of its rectangle, in its place in the stacking and focus
    // order, with no engine in it yet.
    virtual bool build_main_window() = 0;
    virtual bool window_exists() const = 0;
    // Shows the window in the normal state and raises got-focus where the focus lands.
    virtual void show_main_window() = 0;
    // Runs step once, from the main loop, as soon as the shown window's first frame is on screen.
    virtual void after_first_frame(std::function<void()> step) = 0;
    // Creates the engine in the browser view's area and tells the view it is there; false when
    // it cannot be created or hosted.
    virtual bool create_browser_engine() = 0;
    // Runs until the main window has been destroyed.
    virtual void run_loop() = 0;
    // Lets go of whatever the GUI layer still holds.
    virtual void release() = 0;
    // A modal message with no owner and one OK button; returns when it is dismissed.
    virtual void show_fatal_message(std::string_view message) = 0;
    [[noreturn]] virtual void leave_process(int exit_code) = 0;

protected:
    ~Platform() = default;
};

}  // namespace app
