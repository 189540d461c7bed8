// GTK 3 + WebKitGTK backend: the main window and its controls, built from the window definition.
// pkg-config: gtk+-3.0 webkit2gtk-4.1 cairo-xlib
#pragma once

#include <array>
#include <functional>
#include <string>

#include <gtk/gtk.h>

#include "app/dispatcher.h"
#include "app/gui.h"
#include "app/platform.h"
#include "platform/gtk/background.h"
#include "platform/gtk/browser.h"
#include "ui/window_def.h"

namespace platform::gtk {

class Backend final : public app::Platform, public app::Gui {
public:
    explicit Backend(app::Dispatcher& dispatcher) : dispatcher_(dispatcher) {}

    // app::Platform
    bool init_component_layer() override;
    void uninit_component_layer() override {}
    bool build_main_window() override;
    bool window_exists() const override { return window_ != nullptr; }
    void show_main_window() override;
    void after_first_frame(std::function<void()> step) override;
    bool create_browser_engine() override;
    void run_loop() override;
    void release() override;
    void show_fatal_message(std::string_view message) override;
    [[noreturn]] void leave_process(int exit_code) override;

    // app::Gui
    std::string read_text(ui::Control, app::Property) override;
    void set_text(ui::Control, app::Property, std::string_view) override;
    void set_bool(ui::Control, app::Property, bool) override;
    void set_int(ui::Control, app::Property, std::int32_t) override;
    void redraw_now() override;
    void open_external(std::string_view address) override;

    app::Answer raise(const app::EventCall& call) { return dispatcher_.raise(call); }
    bool handles(ui::Control c, app::EventKind k) const { return dispatcher_.find(c, k) != nullptr; }
    GtkWidget* widget(ui::Control c) const;
    // The control a widget stands for, or nullopt for the window and anything else.
    std::optional<ui::Control> control_of(GtkWidget* w) const;
    GtkWindow* window() const { return GTK_WINDOW(window_); }

private:
    GtkWidget* create_control(const ui::ControlDef& def);
    static gboolean on_first_draw(GtkWidget* window, cairo_t*, gpointer self);
    static gboolean first_frame_done(gpointer self);
    void put(ui::Control c, GtkWidget* w) { widgets_[static_cast<std::size_t>(ui::index_of(c))] = w; }

    app::Dispatcher& dispatcher_;
    bool display_ = false;
    GtkWidget* window_ = nullptr;
    std::array<GtkWidget*, ui::control_count> widgets_{};
    std::function<void()> first_frame_;
    gulong first_draw_ = 0;
    Background background_;
    Browser browser_{*this};
};

}  // namespace platform::gtk
