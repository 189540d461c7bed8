// Win32 + WebBrowser backend: the main window and its controls, built from the window definition.
// Links: user32 gdi32 comctl32 shell32 ole32 oleaut32 uuid windowscodecs; wide calls only.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/dispatcher.h"
#include "app/gui.h"
#include "app/platform.h"
#include "platform/win32/background.h"
#include "platform/win32/browser.h"
#include "platform/win32/dpi.h"
#include "ui/placement.h"
#include "ui/window_def.h"

namespace platform::win32 {

class Backend final : public app::Platform, public app::Gui {
public:
    Backend(app::Dispatcher& dispatcher, HINSTANCE instance) : dispatcher_(dispatcher), instance_(instance) {}
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    // app::Platform
    bool init_component_layer() override;
    void uninit_component_layer() override;
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
    HWND window() const { return window_; }
    HWND hwnd(ui::Control c) const;
    // The control whose own window this is; nullopt for the main window and anything else.
    std::optional<ui::Control> control_of(HWND w) const;
    // The control this window is, or lies inside (the engine's windows are inside 基调).
    std::optional<ui::Control> control_containing(HWND w) const;
    Browser& browser() { return browser_; }
    // Asks the window to close exactly as its close button does.
    void close_window();

private:
    static LRESULT CALLBACK window_proc(HWND w, UINT message, WPARAM wp, LPARAM lp);
    LRESULT on_message(UINT message, WPARAM wp, LPARAM lp);
    HWND create_control(const ui::ControlDef& def);
    // The definition's rectangle at the window's scale.
    ui::Rect placed(const ui::ControlDef& def) const { return ui::scaled(def.rect, dpi_); }
    // Every control at its scaled rectangle with the font and icons of the window's scale.
    void lay_out();
    void set_icons();
    void paint();
    void on_activate(bool active);
    void post_first_frame();

    app::Dispatcher& dispatcher_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::array<HWND, ui::control_count> controls_{};
    HWND saved_focus_ = nullptr;
    int dpi_ = ui::design_dpi;
    GuiFont font_;
    HICON icons_[2] = {};  // big, small; ours to destroy once replaced
    std::function<void()> first_frame_;
    bool first_frame_posted_ = false;
    Background background_;
    Browser browser_;
};

}  // namespace platform::win32
