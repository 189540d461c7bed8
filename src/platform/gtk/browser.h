// The browser view: a WebKitGTK view holding the settings the rest of the program writes.
#pragma once

#include <string>
#include <string_view>

#include <gtk/gtk.h>

#include "ui/window_def.h"

typedef struct _WebKitWebView WebKitWebView;

namespace platform::gtk {

class Browser {
public:
    // The view, with the stored settings applied and its address already loading; null on failure.
    GtkWidget* create(const ui::BrowserSettings& settings);

    void set_address(std::string_view address);
    void set_silent(bool on);
    void set_offline(bool on);
    void set_text_size(int level);

    const std::string& address() const { return address_; }
    bool silent() const { return silent_; }
    bool offline() const { return offline_; }
    int text_size() const { return text_size_; }

private:
    WebKitWebView* view_ = nullptr;
    std::string address_;
    bool silent_ = false;
    bool offline_ = false;
    int text_size_ = 2;
};

}  // namespace platform::gtk
