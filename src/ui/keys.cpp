#include "ui/keys.h"

#include "app/event.h"

namespace ui {

bool claims_enter(const ControlDef& d) { return d.kind == Kind::EditBox && d.edit.multi_line && !d.edit.read_only; }

std::optional<Control> default_button() {
    for (const ControlDef& d : controls)
        if (d.kind == Kind::Button && d.button.is_default) return d.id;
    return std::nullopt;
}

KeyDecision decide_key(int vk, int modifiers, bool key_down, KeyTarget target, const WindowSettings& window) {
    if (!target.enabled) return KeyDecision::pass;
    if (!key_down) return KeyDecision::raise;
    const bool plain = modifiers == 0;
    switch (vk) {
    case vk_tab:
        if (plain) return KeyDecision::focus_next;
        if (modifiers == app::mod_shift) return KeyDecision::focus_previous;
        break;
    case vk_enter:
        if (!plain || target.claims_enter) break;
        if (default_button()) return KeyDecision::click_default;
        if (window.enter_moves_focus) return KeyDecision::focus_next;
        break;
    case vk_escape:
        if (plain && window.esc_closes) return KeyDecision::close_window;
        break;
    default:
        break;
    }
    return KeyDecision::raise;
}

}  // namespace ui
