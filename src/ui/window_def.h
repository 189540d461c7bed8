// The main window and its controls as constant data. Backends build native widgets from this and
// hard-code no position, text or colour of their own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/event.h"
#include "ui/control.h"

namespace ui {

struct Rgb {
    std::uint8_t r, g, b;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Rect {
    int left, top, width, height;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    constexpr bool empty() const { return width <= 0 || height <= 0; }
    constexpr bool meets(const Rect& o) const {
        return !empty() && !o.empty() && left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

enum class HAlign : std::uint8_t { left, centre, right };
enum class VAlign : std::uint8_t { top, centre, bottom };

struct LabelSettings {
    Rgb text_colour{0, 0, 0};
    HAlign halign = HAlign::left;
    VAlign valign = VAlign::centre;
    bool word_wrap = false;
};

struct ButtonSettings {
    bool is_default = false;  // a default button would take plain Enter
};

struct EditSettings {
    bool multi_line = false;  // only a multi-line box claims plain Enter
    bool read_only = false;
    int max_length = 0;  // 0: no limit of our own
};

struct BrowserSettings {
    std::string_view address;
    int text_size = 2;  // 0 smallest .. 4 largest
    bool offline = false;
    bool silent = false;
};

struct ControlDef {
    Control id;
    std::string_view name;
    Kind kind;
    Rect rect;
    std::string_view text;
    bool tab_stop;
    int tab_order = 0;
    bool visible = true;
    bool enabled = true;
    // The label that says what the control is for, where the control has no text of its own.
    std::optional<Control> labelled_by{};
    LabelSettings label{};
    ButtonSettings button{};
    EditSettings edit{};
    BrowserSettings browser{};
};

struct WindowSettings {
    std::string_view caption;
    int outer_width, outer_height;
    // The client area the layout was designed for; the controls reach its right and bottom edges.
    int client_width, client_height;
    bool minimize_box, maximize_box, resizable;
    bool esc_closes, enter_moves_focus, f1_help;
};

extern const WindowSettings main_window;

// The nine controls in table order: the stacking order, topmost first.
extern const std::array<ControlDef, control_count> controls;

// The event binding table of the main window and its controls.
std::span<const app::Binding> bindings();

inline const ControlDef& def(Control c) { return controls[static_cast<std::size_t>(index_of(c))]; }

}  // namespace ui
