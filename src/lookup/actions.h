// What the buttons, the edit box and the credit line do. Written only against the GUI services.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "app/gui.h"

namespace lookup {

using Args = std::span<const std::int32_t>;
using Result = std::optional<std::int32_t>;

// Bound where an event must be taken but needs nothing done.
Result nothing(app::Gui&, Args);

// Points the browser view at the search page for the edit box's title and shows it in the caption.
Result search(app::Gui&, Args);
// The edit box's key-pressed handler: Enter (13), with any modifiers, searches.
Result search_on_enter(app::Gui&, Args key_code_and_modifiers);
// Brings back the start page.
Result home(app::Gui&, Args);

Result open_main_site(app::Gui&, Args);
Result open_key_site(app::Gui&, Args);

}  // namespace lookup
