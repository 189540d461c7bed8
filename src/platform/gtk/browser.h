// The browser view: a WebKitGTK view behind the view's shared property rules.
#pragma once

#include <gtk/gtk.h>

#include "app/gui.h"
#include "ui/html_viewer.h"

typedef struct _WebKitWebView WebKitWebView;

namespace platform::gtk {

class Browser final : public ui::HtmlViewer {
public:
    // New windows a page asks for open outside, through the GUI services' external opening.
    explicit Browser(app::Gui& gui) : gui_(gui) {}

    // The view's area, blank and able to take the focus, keeping the stored settings for the engine.
    GtkWidget* create_area(const ui::BrowserSettings& settings);
    // The engine's view inside the area, with everything written so far handed to it and its
    // address already loading; null when it cannot be made.
    GtkWidget* create_engine();

private:
    void engine_navigate(const std::string& address) override;
    // Silent and offline are read by the view's own signal handlers when the page asks.
    void engine_silent(bool) override {}
    void engine_offline(bool) override {}
    void engine_text_size(int level) override;

    app::Gui& gui_;
    GtkWidget* area_ = nullptr;
    WebKitWebView* view_ = nullptr;
};

}  // namespace platform::gtk
