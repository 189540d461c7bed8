// The GUI services that handlers use. Each backend implements them; unit tests use a recording fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace app {

enum class Property : std::uint8_t {
    caption,    // main window: the title bar text
    content,    // edit box: its text
    address,    // browser view: writing it navigates at once
    silent,     // browser view: no dialogs of the engine's own
    offline,    // browser view
    text_size,  // browser view: 0..4, clamped
};

// Texts are UTF-8; the empty string is the null text.
class Gui {
public:
    virtual std::string read_text(ui::Control, Property) = 0;
    virtual void set_text(ui::Control, Property, std::string_view) = 0;
    virtual void set_bool(ui::Control, Property, bool) = 0;
    virtual void set_int(ui::Control, Property, std::int32_t) = 0;
    // Paints at once whatever part of the main window is waiting to be repainted.
    virtual void redraw_now() = 0;
    // Hands the address to the desktop's default browser without waiting for it.
    virtual void open_external(std::string_view address) = 0;

protected:
    ~Gui() = default;
};

}  // namespace app
