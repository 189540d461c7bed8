#include "platform/gtk/run.h"

#include "app/shell.h"
#include "platform/gtk/backend.h"

namespace platform::gtk {

void run(std::span<const app::Binding> bindings) {
    app::Dispatcher dispatcher(bindings);
    Backend backend(dispatcher);
    dispatcher.attach(backend);
    app::Shell(backend, dispatcher).start();
}

}  // namespace platform::gtk
