#include "platform/gtk/backend.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/gtk/accessible.h"
#include "platform/gtk/input.h"
#include "platform/gtk/label.h"
#include "ui/focus.h"
#include "ui/placement.h"

namespace platform::gtk {

using app::EventKind;
using app::Property;
using ui::Control;

namespace {

constexpr const char* icon_resource = "/keylookup/icon.png";

// Standard controls in the theme's look, but with the tight padding of a fixed dialog layout, so
// that every caption fits the rectangle it was laid out for. The layout was drawn for a 12-pixel
// GUI font: the controls keep the desktop's family but not its size, which would push texts out of
// their rectangles and buttons over their neighbours. Pixels here are logical ones, so a scaled
// display scales the text with everything else. The page in the browser view keeps its own fonts.
constexpr const char* control_class = "layout-control";
constexpr const char* layout_css =
    ".layout-control { font-size: 12px; }"
    "button { padding: 0 2px; min-height: 0; min-width: 0; }"
    "entry { min-height: 0; padding-top: 0; padding-bottom: 0; }";

void on_click(GtkButton* button, gpointer self) {
    auto* b = static_cast<Backend*>(self);
    if (auto c = b->control_of(GTK_WIDGET(button))) b->raise({.source = *c, .kind = EventKind::click});
}

void on_changed(GtkEditable* edit, gpointer self) {
    auto* b = static_cast<Backend*>(self);
    if (auto c = b->control_of(GTK_WIDGET(edit))) b->raise({.source = *c, .kind = EventKind::content_changed});
}

gboolean on_focus_change(GtkWidget* w, GdkEventFocus* e, gpointer self) {
    auto* b = static_cast<Backend*>(self);
    const auto c = w == GTK_WIDGET(b->window()) ? std::optional(Control::window) : b->control_of(w);
    if (c) b->raise({.source = *c, .kind = e->in ? EventKind::got_focus : EventKind::lost_focus});
    return FALSE;
}

void raise_focus_changes(GtkWidget* w, Backend* b) {
    g_signal_connect(w, "focus-in-event", G_CALLBACK(on_focus_change), b);
    g_signal_connect(w, "focus-out-event", G_CALLBACK(on_focus_change), b);
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer self) {
    // The window asks whether it may close; only a handler's veto keeps it open.
    return app::cancels(EventKind::closing_query, static_cast<Backend*>(self)->raise({.kind = EventKind::closing_query}));
}

gboolean paint_background(GtkWidget* fixed, cairo_t* cr, gpointer background) {
    static_cast<Background*>(background)->paint(cr, gtk_widget_get_allocated_width(fixed),
                                                gtk_widget_get_allocated_height(fixed));
    return FALSE;  // the controls are drawn over it
}

void on_realize(GtkWidget* window, gpointer) {
    // No maximize function, also where a window manager would offer one.
    GdkWindow* w = gtk_widget_get_window(window);
    gdk_window_set_functions(w, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE | GDK_FUNC_CLOSE));
    gdk_window_set_decorations(w, GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU |
                                                  GDK_DECOR_MINIMIZE));
}

ui::Point screen_size() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle r{0, 0, 0, 0};
    if (monitor) gdk_monitor_get_geometry(monitor, &r);  // the full screen, not the work area
    return {r.width, r.height};
}

// Told the format, the loader does not guess it from the shared MIME database, which would then
// stay in memory for the rest of the run.
GdkPixbuf* load_icon() {
    GBytes* bytes = g_resources_lookup_data(icon_resource, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) return nullptr;
    GdkPixbuf* icon = nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (loader) {
        if (gdk_pixbuf_loader_write_bytes(loader, bytes, nullptr) && gdk_pixbuf_loader_close(loader, nullptr))
            icon = gdk_pixbuf_loader_get_pixbuf(loader);
        else
            gdk_pixbuf_loader_close(loader, nullptr);  // ends a half-written load; its error says nothing new
        if (icon) g_object_ref(icon);
        g_object_unref(loader);
    }
    g_bytes_unref(bytes);
    return icon;
}

void load_css() {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, layout_css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

}  // namespace

bool Backend::init_component_layer() {
    // Pango reads the font configuration on a thread of its own once its font map exists: made
    // first, that overlaps the toolkit's start instead of holding up the first text layout.
    pango_cairo_font_map_get_default();
    // Desktops match the window to its desktop entry by this name (WM_CLASS on X11, the app id on
    // Wayland), so it is the entry's application id rather than the file name.
    g_set_prgname(KEYLOOKUP_APP_ID);
    // The engine needs the toolkit up before the first window; GTK has nothing to undo at the end.
    display_ = gtk_init_check(nullptr, nullptr);
    gdk_set_program_class(KEYLOOKUP_APP_ID);  // after the toolkit's own, which capitalises it
    return display_;
}

GtkWidget* Backend::widget(Control c) const {
    return c == Control::window ? window_ : widgets_[static_cast<std::size_t>(ui::index_of(c))];
}

std::optional<Control> Backend::control_of(GtkWidget* w) const {
    for (const ui::ControlDef& d : ui::controls)
        if (widget(d.id) == w) return d.id;
    return std::nullopt;
}

GtkWidget* Backend::create_control(const ui::ControlDef& def) {
    switch (def.kind) {
    case ui::Kind::Button: {
        GtkWidget* button = gtk_button_new_with_label(std::string(def.text).c_str());
        GtkLabel* caption = GTK_LABEL(gtk_bin_get_child(GTK_BIN(button)));
        gtk_label_set_line_wrap(caption, TRUE);
        gtk_label_set_justify(caption, GTK_JUSTIFY_CENTER);
        g_signal_connect(button, "clicked", G_CALLBACK(on_click), this);
        return button;
    }
    case ui::Kind::EditBox: {
        GtkWidget* entry = gtk_entry_new();
        gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
        gtk_entry_set_text(GTK_ENTRY(entry), std::string(def.text).c_str());
        if (def.edit.max_length > 0) gtk_entry_set_max_length(GTK_ENTRY(entry), def.edit.max_length);
        gtk_editable_set_editable(GTK_EDITABLE(entry), !def.edit.read_only);
        g_signal_connect(entry, "changed", G_CALLBACK(on_changed), this);
        return entry;
    }
    case ui::Kind::TransLabel:
        return create_label(def);
    case ui::Kind::HtmlViewer:
        return browser_.create_area(def.browser);
    case ui::Kind::window:
        break;
    }
    return nullptr;
}

bool Backend::build_main_window() {
    if (!display_) return false;
    load_css();
    const ui::WindowSettings& s = ui::main_window;
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), std::string(s.caption).c_str());
    gtk_window_set_resizable(GTK_WINDOW(window_), s.resizable);
    if (GdkPixbuf* icon = load_icon()) {
        gtk_window_set_icon(GTK_WINDOW(window_), icon);
        g_object_unref(icon);
    }
    const ui::Point size = screen_size();
    const ui::Point at = ui::centred(size.x, size.y, s.outer_width, s.outer_height);
    gtk_window_move(GTK_WINDOW(window_), at.x, at.y);
    g_signal_connect(window_, "realize", G_CALLBACK(on_realize), nullptr);
    g_signal_connect(window_, "delete-event", G_CALLBACK(on_delete), this);
    g_signal_connect(window_, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         auto* b = static_cast<Backend*>(self);
                         b->window_ = nullptr;
                         b->widgets_.fill(nullptr);
                         gtk_main_quit();  // the last window is gone
                     }),
                     this);

    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, s.client_width, s.client_height);
    g_signal_connect(fixed, "draw", G_CALLBACK(paint_background), &background_);
    gtk_container_add(GTK_CONTAINER(window_), fixed);

    // Created bottom first, so that each one added lies above the ones before: the table's order.
    for (auto it = ui::controls.rbegin(); it != ui::controls.rend(); ++it) {
        GtkWidget* w = create_control(*it);
        if (!w) return false;
        put(it->id, w);
        gtk_widget_set_size_request(w, it->rect.width, it->rect.height);
        gtk_widget_set_sensitive(w, it->enabled);
        if (it->kind != ui::Kind::HtmlViewer) gtk_style_context_add_class(gtk_widget_get_style_context(w), control_class);
        gtk_fixed_put(GTK_FIXED(fixed), w, it->rect.left, it->rect.top);
        raise_focus_changes(w, this);
    }
    raise_focus_changes(window_, this);
    for (const ui::ControlDef& d : ui::controls)
        if (d.visible) gtk_widget_show(widget(d.id));
    gtk_widget_show(fixed);
    describe_controls(*this);
    install_input(*this);
    return true;
}

void Backend::show_main_window() {
    if (auto first = ui::first_focus()) gtk_window_set_focus(GTK_WINDOW(window_), widget(*first));
    gtk_window_present(GTK_WINDOW(window_));
}

void Backend::after_first_frame(std::function<void()> step) {
    first_frame_ = std::move(step);
    // After the window's own handler: the whole frame, every control in it, is drawn by then.
    first_draw_ = g_signal_connect_after(window_, "draw", G_CALLBACK(on_first_draw), this);
}

gboolean Backend::on_first_draw(GtkWidget* window, cairo_t*, gpointer self) {
    auto* b = static_cast<Backend*>(self);
    g_signal_handler_disconnect(window, std::exchange(b->first_draw_, 0));
    // Once this frame is out and before the next; keys already queued reach the edit box first.
    g_idle_add_full(G_PRIORITY_HIGH_IDLE, first_frame_done, self, nullptr);
    return FALSE;
}

gboolean Backend::first_frame_done(gpointer self) {
    auto* b = static_cast<Backend*>(self);
    gdk_display_flush(gdk_display_get_default());
    if (auto step = std::exchange(b->first_frame_, nullptr)) step();
    return G_SOURCE_REMOVE;
}

bool Backend::create_browser_engine() {
    GtkWidget* view = browser_.create_engine();
    if (!view) return false;
    // The engine's view stands for the control from now on: focus, Tab and the page's own input.
    put(Control::基调, view);
    raise_focus_changes(view, this);
    return true;  // named already: the area it fills carries the control's accessible name
}

void Backend::run_loop() { gtk_main(); }

void Backend::release() {
    if (window_) gtk_widget_destroy(window_);
}

void Backend::show_fatal_message(std::string_view message) {
    const std::string text(message);
    if (!display_) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s",
                                               text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), std::string(ui::main_window.caption).c_str());
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

void Backend::leave_process(int exit_code) { std::exit(exit_code); }

std::string Backend::read_text(Control c, Property p) {
    GtkWidget* w = widget(c);
    if (!w) return {};
    const char* text = nullptr;
    if (p == Property::caption && c == Control::window) text = gtk_window_get_title(GTK_WINDOW(w));
    if (p == Property::content && GTK_IS_ENTRY(w)) text = gtk_entry_get_text(GTK_ENTRY(w));
    if (p == Property::address && c == Control::基调) return browser_.address();
    return text ? text : "";
}

void Backend::set_text(Control c, Property p, std::string_view value) {
    GtkWidget* w = widget(c);
    if (!w) return;
    if (p == Property::address && c == Control::基调) return browser_.set_address(value);
    const std::string text(value);
    if (p == Property::caption && c == Control::window) gtk_window_set_title(GTK_WINDOW(w), text.c_str());
    if (p == Property::content && GTK_IS_ENTRY(w)) gtk_entry_set_text(GTK_ENTRY(w), text.c_str());
}

void Backend::set_bool(Control c, Property p, bool value) {
    if (c == Control::基调) browser_.write(p, value);
}

void Backend::set_int(Control c, Property p, std::int32_t value) {
    if (c == Control::基调) browser_.write(p, value);
}

void Backend::redraw_now() {
    GdkWindow* w = window_ ? gtk_widget_get_window(window_) : nullptr;
    if (!w) return;
    // Paints what is already waiting, now, like an immediate window update; GTK 3 keeps this call
    // although it would rather paint on the next frame.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gdk_window_process_updates(w, TRUE);
    G_GNUC_END_IGNORE_DEPRECATIONS
}

void Backend::open_external(std::string_view address) {
    const std::string uri(address);
    GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
    // Asynchronous: the browser starts beside us and we do not wait for it or look at the outcome.
    g_app_info_launch_default_for_uri_async(uri.c_str(), G_APP_LAUNCH_CONTEXT(context), nullptr, nullptr, nullptr);
    g_object_unref(context);
}

}  // namespace platform::gtk
