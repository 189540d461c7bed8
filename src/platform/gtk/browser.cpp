#include "platform/gtk/browser.h"

#include <webkit2/webkit2.h>

namespace platform::gtk {

namespace {

// Five text sizes, smallest to largest; the middle one is the page's own size.
constexpr double text_zoom[] = {0.75, 0.875, 1.0, 1.25, 1.5};

// While silent, the page's alert, confirm, prompt and before-unload questions are answered as if
// the user dismissed them, and nothing takes the keyboard from the window.
gboolean on_script_dialog(WebKitWebView*, WebKitScriptDialog*, gpointer self) {
    return static_cast<Browser*>(self)->silent();
}

// Offline: the engine has no cache-only mode, so offline means no page request leaves at all.
gboolean on_decide_policy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                          gpointer self) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE || !static_cast<Browser*>(self)->offline()) return FALSE;
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

// The engine drops a page's new window unless we give it a view; we give none and hand a clicked
// web address to the desktop's browser instead, as the engine on Windows would open it in one.
GtkWidget* on_create(WebKitWebView*, WebKitNavigationAction* action, gpointer gui) {
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (uri && ui::opens_new_window(uri, webkit_navigation_action_is_user_gesture(action)))
        static_cast<app::Gui*>(gui)->open_external(uri);
    return nullptr;
}

// What shows where the engine has not drawn yet.
gboolean paint_blank(GtkWidget* area, cairo_t* cr, gpointer) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, 0, 0, gtk_widget_get_allocated_width(area), gtk_widget_get_allocated_height(area));
    cairo_fill(cr);
    return FALSE;  // the engine's view, once there, is drawn over it
}

// Drawn without the GPU the page process keeps no GL context, shader cache or GPU buffers: the
// process tree is about a sixth smaller (see bench/README.md), the pages of this program look the
// same, and the blank views some graphics drivers give accelerated pages cannot happen. The other
// memory setting, the document-viewer cache model, measured no smaller here and is left at the
// default. Text sizes zoom the text alone, as the other engine's text size does.
void configure_engine(WebKitWebView* view) {
    WebKitSettings* settings = webkit_web_view_get_settings(view);
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_zoom_text_only(settings, TRUE);
}

}  // namespace

GtkWidget* Browser::create_area(const ui::BrowserSettings& settings) {
    keep(settings);
    area_ = gtk_event_box_new();
    // Tab stops here before the engine exists, as it will once it does.
    gtk_widget_set_can_focus(area_, TRUE);
    g_signal_connect(area_, "draw", G_CALLBACK(paint_blank), nullptr);
    g_signal_connect(area_, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<Browser*>(self)->area_ = nullptr;
                     }),
                     this);
    return area_;
}

GtkWidget* Browser::create_engine() {
    if (!area_) return nullptr;
    GtkWidget* widget = webkit_web_view_new();
    if (!widget) return nullptr;
    view_ = WEBKIT_WEB_VIEW(widget);
    configure_engine(view_);
    g_signal_connect(view_, "script-dialog", G_CALLBACK(on_script_dialog), this);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(on_decide_policy), this);
    g_signal_connect(view_, "create", G_CALLBACK(on_create), &gui_);
    g_signal_connect(view_, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer self) {
                         static_cast<Browser*>(self)->view_ = nullptr;
                     }),
                     this);

    // Loading first: the engine's processes start while the view is put in place.
    engine_ready();
    const bool had_focus = gtk_widget_has_focus(area_);
    gtk_container_add(GTK_CONTAINER(area_), widget);
    gtk_widget_show(widget);
    if (had_focus) gtk_widget_grab_focus(widget);
    return widget;
}

void Browser::engine_navigate(const std::string& address) {
    if (view_) webkit_web_view_load_uri(view_, address.c_str());
}

void Browser::engine_text_size(int level) {
    if (view_) webkit_web_view_set_zoom_level(view_, text_zoom[level]);
}

}  // namespace platform::gtk
