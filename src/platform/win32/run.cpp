#include "platform/win32/run.h"

#include "app/shell.h"
#include "platform/win32/backend.h"

namespace platform::win32 {

void run(HINSTANCE instance, std::span<const app::Binding> bindings) {
    app::Dispatcher dispatcher(bindings);
    Backend backend(dispatcher, instance);
    dispatcher.attach(backend);
    app::Shell(backend, dispatcher).start();
}

}  // namespace platform::win32
