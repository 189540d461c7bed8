// A recording stand-in for the GUI services: every call becomes one line of a log.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/gui.h"
#include "ui/html_viewer.h"

namespace test {

class FakeGui final : public app::Gui {
public:
    std::vector<std::string> log;
    std::string content;  // what the edit box holds
    // When set, writes to 基调 also reach this view, as they do in the backends.
    ui::HtmlViewer* view = nullptr;

    std::string read_text(ui::Control c, app::Property p) override {
        log.push_back("read " + name(c, p));
        return p == app::Property::content ? content : std::string();
    }
    void set_text(ui::Control c, app::Property p, std::string_view v) override {
        log.push_back("set " + name(c, p) + " = " + std::string(v));
        if (view && c == ui::Control::基调 && p == app::Property::address) view->set_address(v);
    }
    void set_bool(ui::Control c, app::Property p, bool v) override {
        log.push_back("set " + name(c, p) + " = " + (v ? "true" : "false"));
        if (view && c == ui::Control::基调) view->write(p, v);
    }
    void set_int(ui::Control c, app::Property p, std::int32_t v) override {
        log.push_back("set " + name(c, p) + " = " + std::to_string(v));
        if (view && c == ui::Control::基调) view->write(p, v);
    }
    void redraw_now() override { log.push_back("redraw"); }
    void open_external(std::string_view a) override { log.push_back("open " + std::string(a)); }

private:
    static std::string name(ui::Control c, app::Property p) {
        static const std::map<ui::Control, std::string> controls{
            {ui::Control::window, "window"}, {ui::Control::编辑框1, "编辑框1"}, {ui::Control::基调, "基调"}};
        static const char* const props[] = {"caption", "content", "address", "silent", "offline", "text_size"};
        auto it = controls.find(c);
        return (it == controls.end() ? std::string("?") : it->second) + "." + props[static_cast<int>(p)];
    }
};

}  // namespace test
