#include "lookup/actions.h"

#include "lookup/query.h"
#include "lookup/sites.h"
#include "lookup/texts.h"

namespace lookup {

using app::Property;
using ui::Control;

Result nothing(app::Gui&, Args) { return std::nullopt; }

Result search(app::Gui& gui, Args) {
    {
        const std::string title = gui.read_text(Control::编辑框1, Property::content);
        gui.set_text(Control::基调, Property::address, search_address(title));
    }
    {
        // Read again rather than keep the first copy: each text lives only as long as its write.
        const std::string title = gui.read_text(Control::编辑框1, Property::content);
        gui.set_text(Control::window, Property::caption, join({searching_caption, title}));
    }
    gui.set_bool(Control::基调, Property::silent, true);
    gui.redraw_now();
    return std::nullopt;
}

Result search_on_enter(app::Gui& gui, Args args) {
    constexpr std::int32_t enter = 13;
    if (!args.empty() && args[0] == enter) search(gui, {});
    return std::nullopt;  // no result: the key goes on to the edit box
}

Result home(app::Gui& gui, Args) {
    gui.set_text(Control::基调, Property::address, start_page);
    gui.set_text(Control::window, Property::caption, home_caption);
    gui.set_bool(Control::基调, Property::silent, true);
    gui.redraw_now();
    return std::nullopt;
}

Result open_main_site(app::Gui& gui, Args) {
    gui.open_external(main_site_root);
    return std::nullopt;
}

Result open_key_site(app::Gui& gui, Args) {
    gui.open_external(key_site_root);
    return std::nullopt;
}

}  // namespace lookup
