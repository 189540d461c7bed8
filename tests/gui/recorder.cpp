// The real GTK program with every control's input events bound to a handler that prints them,
// one line each ("<source> <event> <args...>"), so tests can see what the program raises.
#include <cstdio>
#include <utility>

#include "app/gui.h"
#include "platform/gtk/run.h"
#include "ui/window_def.h"

namespace {

using app::EventKind;
using ui::Control;

constexpr std::pair<EventKind, const char*> kinds[] = {
    {EventKind::created, "created"},       {EventKind::click, "click"},
    {EventKind::content_changed, "changed"}, {EventKind::key_down, "key_down"},
    {EventKind::key_up, "key_up"},         {EventKind::left_down, "left_down"},
    {EventKind::right_down, "right_down"}, {EventKind::double_click, "double_click"},
    {EventKind::closing_query, "closing"}, {EventKind::got_focus, "got_focus"},
    {EventKind::lost_focus, "lost_focus"},
};
constexpr std::size_t kind_count = std::size(kinds);
constexpr std::size_t source_count = ui::control_count + 1;  // and the window itself

const char* source_name(Control c) { return c == Control::window ? "window" : ui::def(c).name.data(); }

constexpr std::int32_t vetoed_key = 'Q';  // vetoed in the edit box, to show that a veto drops the key

template <std::size_t I>
std::optional<std::int32_t> record(app::Gui& gui, std::span<const std::int32_t> args) {
    constexpr Control source = static_cast<Control>(I / kind_count);
    constexpr EventKind kind = kinds[I % kind_count].first;
    std::printf("%s %s", source_name(source), kinds[I % kind_count].second);
    for (std::int32_t a : args) std::printf(" %d", a);
    std::printf("\n");
    if constexpr (source == Control::编辑框1 && kind == EventKind::key_down) {
        // Enter shows what the box holds, as the search would read it.
        if (args[0] == 13) std::printf("content [%s]\n", gui.read_text(Control::编辑框1, app::Property::content).c_str());
        std::fflush(stdout);
        if (args[0] == vetoed_key) return 0;
    }
    std::fflush(stdout);
    return std::nullopt;  // like the program's own handlers: never a veto
}

template <std::size_t... I>
constexpr std::array<app::Binding, sizeof...(I)> table(std::index_sequence<I...>) {
    return {{{static_cast<Control>(I / kind_count), kinds[I % kind_count].first, record<I>}...}};
}

constexpr auto recording_bindings = table(std::make_index_sequence<source_count * kind_count>());

}  // namespace

int main() { platform::gtk::run(recording_bindings); }
