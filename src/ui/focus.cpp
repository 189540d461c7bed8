#include "ui/focus.h"

#include <algorithm>
#include <vector>

namespace ui {

namespace {

bool takes_focus(const ControlDef& d) {
    return d.visible && d.enabled && d.tab_stop && d.kind != Kind::TransLabel;
}

std::vector<Control> compute_order() {
    std::vector<const ControlDef*> candidates;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (takes_focus(*it)) candidates.push_back(&*it);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const ControlDef* a, const ControlDef* b) { return a->tab_order < b->tab_order; });
    std::vector<Control> order;
    for (const ControlDef* d : candidates) order.push_back(d->id);
    return order;
}

}  // namespace

std::span<const Control> focus_order() {
    static const std::vector<Control> order = compute_order();
    return order;
}

std::optional<Control> first_focus() {
    auto order = focus_order();
    if (order.empty()) return std::nullopt;
    return order.front();
}

std::optional<Control> next_focus(std::optional<Control> from, bool backwards) {
    auto order = focus_order();
    if (order.empty()) return std::nullopt;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const auto at = from ? std::find(order.begin(), order.end(), *from) - order.begin() : n;
    if (at == n) return backwards ? order.back() : order.front();
    return order[static_cast<std::size_t>((at + (backwards ? n - 1 : 1)) % n)];
}

}  // namespace ui
