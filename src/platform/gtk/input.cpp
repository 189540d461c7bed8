#include "platform/gtk/input.h"

#include <optional>

#include "platform/gtk/backend.h"
#include "platform/gtk/keymap.h"
#include "ui/focus.h"
#include "ui/keys.h"

namespace platform::gtk {

using app::EventKind;
using ui::Control;

namespace {

// Where an input event goes: one of our controls, the window itself, or a window of ours that is
// no control of the table (the page inside the browser view), which raises nothing.
struct Source {
    bool ours = false;
    Control control = Control::window;
};

std::int32_t modifiers(guint state) {
    return (state & GDK_CONTROL_MASK ? app::mod_ctrl : 0) | (state & GDK_SHIFT_MASK ? app::mod_shift : 0) |
           (state & GDK_MOD1_MASK ? app::mod_alt : 0);
}

// The key as it is without Shift or Caps Lock, so Shift+1 is still the key "1"; Num Lock stays, so
// the keypad's digits stay digits.
int key_code(const GdkEventKey& e) {
    guint keyval = e.keyval;
    gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(gdk_window_get_display(e.window)),
                                        e.hardware_keycode, GdkModifierType(e.state & GDK_MOD2_MASK), e.group,
                                        &keyval, nullptr, nullptr, nullptr);
    return virtual_key(keyval);
}

class Input {
public:
    explicit Input(Backend& b) : b_(b) {}

    // True when the event is consumed here and must not be delivered.
    bool pretranslate(GdkEvent* e) {
        GtkWidget* target = gtk_get_event_widget(e);
        if (!b_.window_exists()) return false;
        GtkWidget* window = GTK_WIDGET(b_.window());
        if (!target || gtk_widget_get_toplevel(target) != window) return false;
        // While a modal window of ours (the fatal message) holds the input, the main window takes none.
        if (GtkWidget* grab = gtk_grab_get_current(); grab && gtk_widget_get_toplevel(grab) != window) return false;
        switch (e->type) {
        case GDK_KEY_PRESS:
        case GDK_KEY_RELEASE:
            return key(e->key);
        case GDK_BUTTON_PRESS:
        case GDK_BUTTON_RELEASE:
            return button(e->button, target);
        case GDK_2BUTTON_PRESS:
        case GDK_3BUTTON_PRESS:
            return false;  // the second press itself was already raised as the double click
        case GDK_MOTION_NOTIFY:
            return mouse(target, EventKind::mouse_move, e->motion.x_root, e->motion.y_root, e->motion.state);
        case GDK_SCROLL:
            return mouse(target, EventKind::wheel, e->scroll.x_root, e->scroll.y_root, e->scroll.state);
        default:
            return false;
        }
    }

private:
    Source source_of(GtkWidget* w) const {
        if (!w || w == GTK_WIDGET(b_.window()) || w == gtk_bin_get_child(GTK_BIN(b_.window()))) return {true};
        auto c = b_.control_of(w);
        if (!c || *c == Control::基调) return {};  // inside the page: the engine's own
        return {true, *c};
    }

    bool deliver(Source s, app::EventCall call) {
        if (!s.ours) return false;
        call.source = s.control;
        const app::Answer a = b_.raise(call);
        return app::drops_input(call.kind, a, b_.window_exists());
    }

    bool key(const GdkEventKey& e) {
        GtkWidget* focus = gtk_window_get_focus(b_.window());
        const auto focused = focus ? b_.control_of(focus) : std::nullopt;
        const ui::KeyTarget target{
            .enabled = !focus || gtk_widget_is_sensitive(focus),
            .claims_enter = focused && *focused != Control::window && ui::claims_enter(ui::def(*focused)),
        };
        const int vk = key_code(e);
        const std::int32_t mods = modifiers(e.state);
        const ui::KeyDecision decision = ui::decide_key(vk, mods, e.type == GDK_KEY_PRESS, target);
        switch (decision) {
        case ui::KeyDecision::pass:
            return false;
        case ui::KeyDecision::focus_next:
        case ui::KeyDecision::focus_previous:
            if (auto next = ui::next_focus(focused, decision == ui::KeyDecision::focus_previous))
                gtk_widget_grab_focus(b_.widget(*next));
            return true;
        case ui::KeyDecision::close_window:
            gtk_window_close(b_.window());  // exactly as the close button
            return true;
        case ui::KeyDecision::click_default:
            return true;  // this window has no default button
        case ui::KeyDecision::raise:
            break;
        }
        const EventKind kind = e.type == GDK_KEY_PRESS ? EventKind::key_down : EventKind::key_up;
        if (deliver(source_of(focus), {.kind = kind, .args = {vk & 0xff, mods}, .argc = 2})) return true;
        // GTK buttons also activate on Enter; a push button that is not the default one takes Enter
        // as a plain key and does nothing with it.
        return vk == ui::vk_enter && focus && GTK_IS_BUTTON(focus);
    }

    bool button(const GdkEventButton& e, GtkWidget* target) {
        const bool press = e.type == GDK_BUTTON_PRESS;
        EventKind kind;
        if (e.button == GDK_BUTTON_PRIMARY) {
            kind = press ? EventKind::left_down : EventKind::left_up;
            if (press && second_click(e)) kind = EventKind::double_click;
        } else if (e.button == GDK_BUTTON_SECONDARY) {
            kind = press ? EventKind::right_down : EventKind::right_up;
        } else {
            return false;
        }
        return mouse(target, kind, e.x_root, e.y_root, e.state);
    }

    // Like the platform's double click: a press soon after a single one, near it, is the double
    // click; the press after a double click starts afresh.
    bool second_click(const GdkEventButton& e) {
        GtkSettings* settings = gtk_settings_get_default();
        gint time = 400, distance = 5;
        g_object_get(settings, "gtk-double-click-time", &time, "gtk-double-click-distance", &distance, nullptr);
        const bool is_second = last_press_ && e.window == last_window_ && e.time - last_time_ <= guint32(time) &&
                               std::abs(e.x_root - last_x_) <= distance && std::abs(e.y_root - last_y_) <= distance;
        last_press_ = !is_second;
        last_window_ = e.window;
        last_time_ = e.time;
        last_x_ = e.x_root;
        last_y_ = e.y_root;
        return is_second;
    }

    bool mouse(GtkWidget* target, EventKind kind, double x_root, double y_root, guint state) {
        const Source s = source_of(target);
        if (!s.ours) return false;
        // Coordinates in the source's own client area, whatever window inside it took the event.
        GtkWidget* w = b_.widget(s.control);
        int ox = 0, oy = 0;
        gdk_window_get_origin(gtk_widget_get_window(GTK_WIDGET(b_.window())), &ox, &oy);
        int x = static_cast<int>(x_root) - ox, y = static_cast<int>(y_root) - oy;
        if (w != GTK_WIDGET(b_.window())) gtk_widget_translate_coordinates(GTK_WIDGET(b_.window()), w, x, y, &x, &y);
        app::EventCall call{.kind = kind, .args = {x & 0xffff, y & 0xffff, modifiers(state)}, .argc = 3};
        return deliver(s, call);
    }

    Backend& b_;
    bool last_press_ = false;
    GdkWindow* last_window_ = nullptr;
    guint32 last_time_ = 0;
    double last_x_ = 0, last_y_ = 0;
};

void on_event(GdkEvent* e, gpointer input) {
    if (!static_cast<Input*>(input)->pretranslate(e)) gtk_main_do_event(e);
}

}  // namespace

void install_input(Backend& backend) {
    static Input input(backend);
    gdk_event_handler_set(on_event, &input, nullptr);
}

}  // namespace platform::gtk
