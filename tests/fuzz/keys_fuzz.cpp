// Any key, any modifiers, any target and window settings: the pre-translation decides only what
// the dialog keys allow, and focus moves only among the controls of the focus order.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/event.h"
#include "ui/focus.h"
#include "ui/keys.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = std::min(size, sizeof value);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using ui::KeyDecision;
    const auto vk = take<std::int32_t>(data, size);
    const auto mods = take<std::int32_t>(data, size);
    const auto flags = take<std::uint8_t>(data, size);
    const auto from = take<std::uint8_t>(data, size);

    const bool down = flags & 1;
    const ui::KeyTarget target{.enabled = (flags & 2) != 0, .claims_enter = (flags & 4) != 0};
    ui::WindowSettings window = ui::main_window;
    window.esc_closes = flags & 8;
    window.enter_moves_focus = flags & 16;

    const KeyDecision d = ui::decide_key(vk, mods, down, target, window);
    if (!target.enabled) check(d == KeyDecision::pass);
    if (!down) check(d == KeyDecision::raise || d == KeyDecision::pass);
    if (d == KeyDecision::focus_next)
        check((vk == ui::vk_tab && mods == 0) || (vk == ui::vk_enter && mods == 0 && window.enter_moves_focus));
    if (d == KeyDecision::focus_previous) check(vk == ui::vk_tab && mods == app::mod_shift);
    if (d == KeyDecision::close_window) check(vk == ui::vk_escape && mods == 0 && window.esc_closes);
    check(d != KeyDecision::click_default);  // this window has no default button

    // From any control, or from the window itself, focus lands in the focus order.
    const auto order = ui::focus_order();
    const std::optional<ui::Control> start =
        from % (ui::control_count + 1) == ui::control_count
            ? std::nullopt
            : std::optional(static_cast<ui::Control>(from % (ui::control_count + 1)));
    const auto next = ui::next_focus(start, flags & 32);
    check(next && std::find(order.begin(), order.end(), *next) != order.end());
    return 0;
}
