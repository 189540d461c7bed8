// Connects raised events to the handlers bound in the window definition.
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "app/event.h"

namespace app {

class Dispatcher {
public:
    explicit Dispatcher(std::span<const Binding> bindings) : bindings_(bindings) {}

    // The GUI services handed to every handler; set once the backend exists.
    void attach(Gui& gui) { gui_ = &gui; }
    // Called when a handler runs out of memory; it does not return.
    void on_fatal(std::function<void(std::string_view message)> f) { fatal_ = std::move(f); }

    // Suppression while the window is built; after end_for_good() it never lifts again.
    void suppress() { suppressed_ = true; }
    void resume() { suppressed_ = ended_; }
    void end_for_good() { suppressed_ = ended_ = true; }
    bool suppressed() const { return suppressed_; }

    Handler find(ui::Control source, EventKind kind) const;

    // Never throws: exceptions must not cross the toolkit's callbacks.
    Answer raise(const EventCall& call) noexcept;

private:
    std::span<const Binding> bindings_;
    Gui* gui_ = nullptr;
    std::function<void(std::string_view)> fatal_;
    bool suppressed_ = false;
    bool ended_ = false;
};

}  // namespace app
