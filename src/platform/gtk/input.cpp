#include "platform/gtk/input.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <utility>

#include "platform/gtk/backend.h"
#include "platform/gtk/im_answer.h"
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

// Whether the key, pressed, types a character of its own, as opposed to a control key.
bool makes_text(const GdkEventKey& e) {
    if (e.type != GDK_KEY_PRESS || (e.state & (GDK_CONTROL_MASK | GDK_MOD1_MASK))) return false;
    const gunichar c = gdk_keyval_to_unicode(e.keyval);
    return c != 0 && !g_unichar_iscntrl(c);
}

class Input {
public:
    explicit Input(Backend& b) : b_(b) {
        for (const ui::ControlDef& d : ui::controls) {
            GtkWidget* w = b_.widget(d.id);
            if (!GTK_IS_ENTRY(w)) continue;
            g_signal_connect(w, "preedit-changed", G_CALLBACK(on_preedit_changed), this);
            g_signal_connect(w, "changed", G_CALLBACK(on_text_changed), this);
        }
    }

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

    void deliver_event(GdkEvent* e) {
        delivering_ = true;
        gtk_main_do_event(e);
        delivering_ = false;
        note_delivered(e);
    }

private:
    // Only a method that marks its answers (IBus, Fcitx, with their daemon up) is asked first: the
    // toolkit's own simple method, or a framework's module with no daemon behind it, would type a
    // character before the window had seen the key. Whether it marks is learnt from the keys that
    // reach the box, the first one included.
    void note_delivered(const GdkEvent* e) {
        if (e->type != GDK_KEY_PRESS && e->type != GDK_KEY_RELEASE) return;
        if (!b_.window_exists()) return;
        GtkWidget* focus = gtk_window_get_focus(b_.window());
        if (!focus || !GTK_IS_ENTRY(focus)) return;
        note_answer(e->key);
        // Taken on its way to the box after the window raised it: what the method shows for it is
        // not the next key's.
        if (e->key.state & im_took_mark) took(focus, e->key, false);
    }

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

    // True when the key is to be dropped.
    bool raise_key(GtkWidget* focus, const GdkEventKey& e, int vk) {
        const EventKind kind = e.type == GDK_KEY_PRESS ? EventKind::key_down : EventKind::key_up;
        return deliver(source_of(focus), {.kind = kind, .args = {vk & 0xff, modifiers(e.state)}, .argc = 2});
    }

    // The box's input method sees a fresh key before the window does, as on Windows: a key it
    // composes with must not search with the text still uncommitted, close the window or move the
    // focus. Its answer decides whether the key goes on to the pre-translation; a key it hands back
    // later arrives with its decline mark and is not offered again. The key is raised once either way.
    std::optional<bool> offer_to_input_method(GtkWidget* focus, GdkEventKey& e) {
        if (!method_answers_ || !focus || !GTK_IS_ENTRY(focus) || (e.state & (im_took_mark | im_declined_mark)))
            return std::nullopt;
        filtering_ = true;
        acted_while_filtering_ = false;
        const bool consumed = gtk_entry_im_context_filter_keypress(GTK_ENTRY(focus), &e);
        filtering_ = false;
        note_answer(e);
        switch (im_answer(e.state, consumed, makes_text(e))) {
        case ImAnswer::declined:
            return std::nullopt;
        case ImAnswer::typed:
            raise_key(focus, e, key_code(e));
            return true;
        case ImAnswer::took:
            took(focus, e);
            return true;
        }
        return std::nullopt;
    }

    void note_answer(const GdkEventKey& e) { method_answers_ = e.state & (im_took_mark | im_declined_mark); }

    // Both frameworks may take a key only to forward the very same key later (Fcitx does so for
    // every key it lets go, to keep keys and committed text in order; IBus engines for some): that
    // key was not taken after all, and is raised as itself when its copy arrives, marked declined.
    // So a taken key press is raised as 229 when the method shows what it did with it, changing
    // the composition or the box's text; those changes come after the answers, late and in the
    // order of the keys. Releases and modifier keys have nothing to show: taken, they raise nothing.
    void took(GtkWidget* focus, const GdkEventKey& e, bool raise = true) {
        if (e.type != GDK_KEY_PRESS || e.is_modifier) return;
        if (awaiting_.size() == max_awaiting) awaiting_.pop_front();
        awaiting_.push_back({e.keyval, focus, modifiers(e.state), raise});
        if (acted_while_filtering_) method_acted();
    }

    // One change shown per key: committing a composition both clears it and adds to the text, in
    // either order, and counts once; a commit with no composition before it counts on its own.
    static void on_preedit_changed(GtkWidget*, gchar* preedit, gpointer self) {
        auto& input = *static_cast<Input*>(self);
        const bool had = input.composing_;
        input.composing_ = preedit && *preedit;
        input.just_cleared_ = had && !input.composing_;
        if (had || input.composing_) input.method_acted();
    }

    static void on_text_changed(GtkWidget*, gpointer self) {
        auto& input = *static_cast<Input*>(self);
        if (input.composing_) return;  // the clearing that follows counts
        if (std::exchange(input.just_cleared_, false)) return;
        input.method_acted();
    }

    // The box's composition or text changed. While the window delivers a key the change is that
    // key's own (typed characters, handed-back keys), raised as itself already.
    void method_acted() {
        if (filtering_) acted_while_filtering_ = true;
        if (filtering_ || delivering_ || awaiting_.empty() || !b_.window_exists()) return;
        const Taken t = awaiting_.front();
        awaiting_.pop_front();
        if (t.raise) deliver(source_of(t.focus), {.kind = EventKind::key_down, .args = {ui::vk_processed_by_ime, t.mods}, .argc = 2});
    }

    // True when the key coming back was raised and pre-translated as itself already.
    bool came_back(const GdkEventKey& e) {
        if (e.type != GDK_KEY_PRESS) return false;
        auto it = std::find_if(awaiting_.begin(), awaiting_.end(), [&](const Taken& t) { return t.keyval == e.keyval; });
        if (it == awaiting_.end()) return false;
        const bool raised = !it->raise;
        awaiting_.erase(it);
        return raised;
    }

    bool key(GdkEventKey& e) {
        GtkWidget* focus = gtk_window_get_focus(b_.window());
        if ((e.state & im_declined_mark) && came_back(e)) return false;
        if (auto consumed = offer_to_input_method(focus, e)) return *consumed;
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
        if (raise_key(focus, e, vk)) return true;
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

    struct Taken {
        guint keyval;
        GtkWidget* focus;
        std::int32_t mods;
        bool raise;  // false: raised as itself already
    };

    Backend& b_;
    bool method_answers_ = false;
    static constexpr std::size_t max_awaiting = 16;
    std::deque<Taken> awaiting_;  // key presses the input method took, not yet shown, oldest first
    bool filtering_ = false, acted_while_filtering_ = false, delivering_ = false;
    bool composing_ = false, just_cleared_ = false;
    bool last_press_ = false;
    GdkWindow* last_window_ = nullptr;
    guint32 last_time_ = 0;
    double last_x_ = 0, last_y_ = 0;
};

void on_event(GdkEvent* e, gpointer data) {
    auto* input = static_cast<Input*>(data);
    if (!input->pretranslate(e)) input->deliver_event(e);
}

}  // namespace

void install_input(Backend& backend) {
    // Asked to, IBus and Fcitx (which honours this switch too) answer each key before the next is
    // offered, so a key they let go is pre-translated in the order it was typed; asynchronous, it
    // may come back after later keys. A user's own setting stands. Read when the module loads,
    // with the box's first context.
    g_setenv("IBUS_ENABLE_SYNC_MODE", "1", FALSE);
    static Input input(backend);
    gdk_event_handler_set(on_event, &input, nullptr);
}

}  // namespace platform::gtk
