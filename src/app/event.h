// What a raiser hands to the dispatcher and what it gets back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "ui/control.h"

namespace app {

class Gui;

enum class EventKind : std::uint8_t {
    // Kinds of one control kind.
    created,          // main window: creation completed
    moved,            // main window
    resized,          // main window
    closing_query,    // main window: may it close?
    click,            // push button
    content_changed,  // edit box
    // Kinds common to the window and every control.
    key_down,
    key_up,
    char_input,
    left_down,
    left_up,
    right_down,
    right_up,
    double_click,
    mouse_move,
    wheel,
    got_focus,
    lost_focus,
};

// Modifier bits carried by key and mouse events.
inline constexpr std::int32_t mod_ctrl = 1, mod_shift = 2, mod_alt = 4;

struct EventCall {
    ui::Control source = ui::Control::window;
    EventKind kind = EventKind::created;
    std::array<std::int32_t, 5> args{};
    std::uint8_t argc = 0;
};

struct Answer {
    bool handled = false;
    bool has_result = false;
    std::int32_t result = 0;
};

// A handler gives std::nullopt when it declares no result.
using Handler = std::optional<std::int32_t> (*)(Gui&, std::span<const std::int32_t> args);

struct Binding {
    ui::Control source;
    EventKind kind;
    Handler handler;
};

// Keys, mouse events and closing queries may be vetoed; the rest ignore the answer.
constexpr bool is_veto_event(EventKind k) {
    switch (k) {
    case EventKind::closing_query:
    case EventKind::key_down:
    case EventKind::key_up:
    case EventKind::left_down:
    case EventKind::left_up:
    case EventKind::right_down:
    case EventKind::right_up:
    case EventKind::double_click:
    case EventKind::mouse_move:
    case EventKind::wheel:
        return true;
    default:
        return false;
    }
}

// The one veto rule every backend applies: the default processing of a veto event is cancelled
// exactly when a handler ran and gave the result 0. Other events ignore the answer.
constexpr bool cancels(EventKind k, const Answer& a) {
    return is_veto_event(k) && a.handled && a.has_result && a.result == 0;
}

// An input message goes no further when its event was cancelled, or when the handler closed the
// main window under it.
constexpr bool drops_input(EventKind k, const Answer& a, bool window_still_exists) {
    return cancels(k, a) || !window_still_exists;
}

}  // namespace app
