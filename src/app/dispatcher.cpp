#include "app/dispatcher.h"

#include <cstdlib>
#include <new>

namespace app {

Handler Dispatcher::find(ui::Control source, EventKind kind) const {
    for (const Binding& b : bindings_)
        if (b.source == source && b.kind == kind) return b.handler;
    return nullptr;
}

Answer Dispatcher::raise(const EventCall& call) noexcept {
    if (suppressed_) return {};
    Handler h = find(call.source, call.kind);
    if (!h) return {};
    try {
        std::optional<std::int32_t> r = h(*gui_, std::span(call.args.data(), call.argc));
        return {.handled = true, .has_result = r.has_value(), .result = r.value_or(0)};
    } catch (const std::bad_alloc&) {
        // Whatever text was being composed is written nowhere: the handler never got that far.
        if (fatal_) fatal_("内存不足，岚谱基调查询必须退出。");
        std::abort();  // a fatal hook that returns is a bug; never carry on half-done
    }
}

}  // namespace app
