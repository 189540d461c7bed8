#include "ui/accessibility.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

bool names_another(Control c) {
    return std::any_of(controls.begin(), controls.end(), [c](const ControlDef& d) { return d.labelled_by == c; });
}

std::vector<Control> compute_stacking() {
    std::vector<Control> order;
    for (const ControlDef& d : controls) {
        if (names_another(d.id)) continue;  // it goes with the control it names
        if (d.labelled_by) order.push_back(*d.labelled_by);
        order.push_back(d.id);
    }
    return order;
}

}  // namespace

std::string_view accessible_name(Control c) {
    if (c == Control::window) return {};  // the window is named by its caption, which changes
    const ControlDef& d = def(c);
    if (d.labelled_by) return def(*d.labelled_by).text;
    // An edit box's text is what the user typed, not what the box is.
    if (d.kind != Kind::EditBox && !d.text.empty()) return d.text;
    return d.name;
}

std::span<const Control> stacking_order() {
    static const std::vector<Control> order = compute_stacking();
    return order;
}

}  // namespace ui
