#include "platform/win32/input.h"

#include <windowsx.h>

#include <optional>

#include "platform/win32/backend.h"
#include "ui/focus.h"
#include "ui/keys.h"

namespace platform::win32 {

using app::EventKind;
using ui::Control;

namespace {

std::int32_t modifiers(bool ctrl, bool shift, bool alt) {
    return (ctrl ? app::mod_ctrl : 0) | (shift ? app::mod_shift : 0) | (alt ? app::mod_alt : 0);
}

bool key_held(int vk) { return GetKeyState(vk) < 0; }

std::int32_t current_modifiers() { return modifiers(key_held(VK_CONTROL), key_held(VK_SHIFT), key_held(VK_MENU)); }

bool is_key_message(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }
bool is_mouse_message(UINT m) { return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST; }

class Input {
public:
    Input(Backend& b, MSG& m) : b_(b), m_(m) {}

    bool run() {
        if (is_key_message(m_.message)) {
            if (key()) return true;
            // Keys aimed inside the page get the engine's own handling, like a dialog's keys.
            if (b_.control_containing(m_.hwnd) == Control::基调 && m_.hwnd != b_.hwnd(Control::基调))
                return b_.browser().translate_key(m_);
            return false;
        }
        return mouse();
    }

private:
    // Events come from the control the message is aimed at, or the window itself; a window inside
    // a control (the page in 基调) is the engine's own and raises nothing.
    std::optional<Control> source() const {
        if (m_.hwnd == b_.window()) return Control::window;
        return b_.control_of(m_.hwnd);
    }

    bool deliver(EventKind kind, std::array<std::int32_t, 5> args, std::uint8_t argc) {
        const auto s = source();
        if (!s) return false;
        const app::Answer a = b_.raise({.source = *s, .kind = kind, .args = args, .argc = argc});
        return app::drops_input(kind, a, b_.window_exists());
    }

    void move_focus(bool backwards) {
        if (auto next = ui::next_focus(b_.control_containing(m_.hwnd), backwards)) SetFocus(b_.hwnd(*next));
    }

    void click_default() {
        if (auto button = ui::default_button()) SendMessageW(b_.hwnd(*button), BM_CLICK, 0, 0);
    }

    bool key() {
        bool down;
        switch (m_.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            down = true;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            down = false;
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            deliver(EventKind::char_input, {static_cast<std::int32_t>(m_.wParam), current_modifiers()}, 2);
            return false;  // typing cannot be vetoed
        default:
            return false;
        }
        // A key an input method processed arrives as VK_PROCESSKEY (229) and is raised as such:
        // taken back to the real key (ImmGetVirtualKey) it would close the window, move the focus
        // or search in the middle of a composition.
        const int vk = static_cast<int>(m_.wParam & 0xff);
        const std::int32_t mods = current_modifiers();
        const auto exact = b_.control_of(m_.hwnd);
        const ui::KeyTarget target{
            .enabled = IsWindowEnabled(m_.hwnd) != FALSE,
            .claims_enter = exact && ui::claims_enter(ui::def(*exact)),
        };
        switch (ui::decide_key(vk, mods, down, target)) {
        case ui::KeyDecision::pass:
            return false;
        case ui::KeyDecision::focus_next:
            move_focus(false);
            return true;
        case ui::KeyDecision::focus_previous:
            move_focus(true);
            return true;
        case ui::KeyDecision::close_window:
            b_.close_window();
            return true;
        case ui::KeyDecision::click_default:
            click_default();
            return true;
        case ui::KeyDecision::raise:
            break;
        }
        return deliver(down ? EventKind::key_down : EventKind::key_up, {vk, mods}, 2);
    }

    bool mouse() {
        EventKind kind;
        switch (m_.message) {
        case WM_LBUTTONDOWN: kind = EventKind::left_down; break;
        case WM_LBUTTONUP: kind = EventKind::left_up; break;
        case WM_LBUTTONDBLCLK: kind = EventKind::double_click; break;
        // A quick second right press is still a press: there is no right double click event.
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: kind = EventKind::right_down; break;
        case WM_RBUTTONUP: kind = EventKind::right_up; break;
        case WM_MOUSEMOVE: kind = EventKind::mouse_move; break;
        case WM_MOUSEWHEEL: kind = EventKind::wheel; break;
        default: return false;
        }
        const WPARAM keys = GET_KEYSTATE_WPARAM(m_.wParam);
        const std::int32_t mods = modifiers(keys & MK_CONTROL, keys & MK_SHIFT, key_held(VK_MENU));
        POINT at{GET_X_LPARAM(m_.lParam), GET_Y_LPARAM(m_.lParam)};
        // The wheel reports where the pointer is on the screen; the rest, in the target's client area.
        if (kind == EventKind::wheel) ScreenToClient(m_.hwnd, &at);
        return deliver(kind, {at.x & 0xffff, at.y & 0xffff, mods}, 3);
    }

    Backend& b_;
    MSG& m_;
};

}  // namespace

bool pretranslate(Backend& backend, MSG& m) {
    if (!is_key_message(m.message) && !is_mouse_message(m.message)) return false;
    HWND main = backend.window();
    if (!main || !m.hwnd || (m.hwnd != main && !IsChild(main, m.hwnd))) return false;
    return Input(backend, m).run();
}

}  // namespace platform::win32
