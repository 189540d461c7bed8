// The browser view's properties and what writing them does. Each backend derives from it and
// supplies the four engine calls; the rules (clamping, order, navigating on every write) live here.
// The engine comes after the window is on screen: until then the properties are plain values, and
// whatever was written last is what the engine gets when it arrives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/gui.h"
#include "ui/window_def.h"

namespace ui {

// Whether a page's request for a new window goes to the desktop's browser. Only a user's click
// opens one, as a browser's pop-up blocker would have it, and only a web address: the desktop
// starts whatever handler a scheme has, and a page must never choose to open files, shares or
// another program.
bool opens_new_window(std::string_view address, bool user_initiated);

class HtmlViewer {
public:
    // Takes the stored settings as the properties' values, calling no engine.
    void keep(const BrowserSettings& settings);
    // The engine exists from now on: it gets the offline flag first, then the silent flag and the
    // text size, and starts loading the address unless it is empty.
    void engine_ready();

    // A copy is kept and the engine navigates at once: the address already shown loads again, and
    // an empty address still reaches the engine.
    void set_address(std::string_view address);
    // The engine is told on every write, also when the value does not change.
    void set_silent(bool on);
    void set_offline(bool on);
    // Clamped to 0..4.
    void set_text_size(int level);
    // A flag or number written through the GUI services: silent, offline or text size.
    void write(app::Property p, std::int32_t value);

    const std::string& address() const { return address_; }
    bool silent() const { return silent_; }
    bool offline() const { return offline_; }
    int text_size() const { return text_size_; }

protected:
    ~HtmlViewer() = default;
    // Called only once the engine exists; its results are not looked at.
    virtual void engine_navigate(const std::string& address) = 0;
    virtual void engine_silent(bool on) = 0;
    virtual void engine_offline(bool on) = 0;
    virtual void engine_text_size(int level) = 0;

private:
    std::string address_;
    bool silent_ = false;
    bool offline_ = false;
    int text_size_ = 2;
    bool has_engine_ = false;
};

}  // namespace ui
