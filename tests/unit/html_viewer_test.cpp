#include "ui/html_viewer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes down every engine call.
class RecordingViewer final : public ui::HtmlViewer {
public:
    std::vector<std::string> calls;

private:
    void engine_navigate(const std::string& a) override { calls.push_back("navigate " + a); }
    void engine_silent(bool on) override { calls.push_back(on ? "silent on" : "silent off"); }
    void engine_offline(bool on) override { calls.push_back(on ? "offline on" : "offline off"); }
    void engine_text_size(int level) override { calls.push_back("text size " + std::to_string(level)); }
};

using Calls = std::vector<std::string>;

TEST(HtmlViewer, StartAppliesTheSettingsInOrderThenLoads) {
    RecordingViewer v;
    v.start({.address = "http://a/", .text_size = 2, .offline = false, .silent = true});
    EXPECT_EQ(v.calls, (Calls{"offline off", "silent on", "text size 2", "navigate http://a/"}));
}

TEST(HtmlViewer, AnEmptyStoredAddressLoadsNothingUntilOneIsWritten) {
    RecordingViewer v;
    v.start({});
    EXPECT_EQ(v.calls, (Calls{"offline off", "silent off", "text size 2"}));
}

TEST(HtmlViewer, EveryAddressWriteNavigates) {
    RecordingViewer v;
    v.set_address("http://a/");
    v.set_address("http://a/");
    v.set_address("");
    EXPECT_EQ(v.calls, (Calls{"navigate http://a/", "navigate http://a/", "navigate "}));
    EXPECT_EQ(v.address(), "");
}

TEST(HtmlViewer, WritesThroughTheGuiServices) {
    struct Row {
        const char* label;
        app::Property property;
        std::int32_t value;
        std::string call;
    };
    const Row rows[] = {
        {"silent again", app::Property::silent, 1, "silent on"},
        {"any non-zero is true", app::Property::offline, -7, "offline on"},
        {"false", app::Property::silent, 0, "silent off"},
        {"text size below the range", app::Property::text_size, -3, "text size 0"},
        {"text size above the range", app::Property::text_size, 9, "text size 4"},
        {"smallest", app::Property::text_size, 0, "text size 0"},
    };
    for (const Row& r : rows) {
        RecordingViewer v;
        v.write(r.property, r.value);
        EXPECT_EQ(v.calls, Calls{r.call}) << r.label;
    }
    RecordingViewer v;
    v.write(app::Property::text_size, 9);
    EXPECT_EQ(v.text_size(), 4);
    v.write(app::Property::caption, 1);
    EXPECT_EQ(v.calls.size(), 1u) << "not a property of the view";
}

TEST(HtmlViewer, OnlyAClickedWebAddressOpensANewWindow) {
    struct Row {
        const char* address;
        bool user_initiated;
        bool opens;
    };
    const Row rows[] = {
        {"http://www.lanpu.example/", true, true},
        {"https://jidiao.lanpu.example/m/search.php?q=a", true, true},
        {"HTTPS://www.lanpu.example/", true, true},
        {"hTtP://www.lanpu.example/", true, true},
        {"http://www.lanpu.example/", false, false},  // a script opening windows on its own
        {"file:///etc/passwd", true, false},
        {"smb://server/share", true, false},
        {"keylookup-handler:run", true, false},
        {"javascript:alert(1)", true, false},
        {"about:blank", true, false},
        {"data:text/html,<b>x</b>", true, false},
        {"", true, false},
        {"http:", true, false},
        {"http://", true, false},
        {"https:/www.lanpu.example/", true, false},
        {"httpx://www.lanpu.example/", true, false},
        {" http://www.lanpu.example/", true, false},
        {"ftp://www.lanpu.example/", true, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ui::opens_new_window(r.address, r.user_initiated), r.opens)
            << r.address << (r.user_initiated ? " clicked" : " unclicked");
}

}  // namespace
