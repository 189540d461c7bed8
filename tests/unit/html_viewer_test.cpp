#include "ui/html_viewer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "recording_viewer.h"

namespace {

using test::RecordingViewer;
using Calls = std::vector<std::string>;

const ui::BrowserSettings start_settings{.address = "http://a/", .text_size = 2, .offline = false, .silent = true};

// A view whose engine already exists, with the calls of its arrival forgotten.
void make_ready(RecordingViewer& v) {
    v.engine_ready();
    v.calls.clear();
}

TEST(HtmlViewer, TheEngineGetsTheSettingsInOrderThenLoads) {
    RecordingViewer v;
    v.keep(start_settings);
    EXPECT_EQ(v.calls, Calls{}) << "nothing reaches an engine that does not exist yet";
    v.engine_ready();
    EXPECT_EQ(v.calls, (Calls{"offline off", "silent on", "text size 2", "navigate http://a/"}));
}

TEST(HtmlViewer, AnEmptyStoredAddressLoadsNothingUntilOneIsWritten) {
    RecordingViewer v;
    v.keep({});
    v.engine_ready();
    EXPECT_EQ(v.calls, (Calls{"offline off", "silent off", "text size 2"}));
}

TEST(HtmlViewer, WhatIsWrittenBeforeTheEngineIsWhatItStartsWith) {
    struct Row {
        const char* label;
        std::function<void(ui::HtmlViewer&)> early;
        Calls at_arrival;
    };
    const Row rows[] = {
        {"nothing written: the stored settings", [](ui::HtmlViewer&) {},
         {"offline off", "silent on", "text size 2", "navigate http://a/"}},
        {"a search: its address instead of the start page, loaded once",
         [](ui::HtmlViewer& v) { v.set_address("http://b/?q=x"); },
         {"offline off", "silent on", "text size 2", "navigate http://b/?q=x"}},
        {"several addresses: the last one",
         [](ui::HtmlViewer& v) {
             v.set_address("http://b/?q=x");
             v.set_address("http://a/");
         },
         {"offline off", "silent on", "text size 2", "navigate http://a/"}},
        {"an empty address: nothing to load", [](ui::HtmlViewer& v) { v.set_address(""); },
         {"offline off", "silent on", "text size 2"}},
        {"flags and text size, clamped",
         [](ui::HtmlViewer& v) {
             v.write(app::Property::offline, 1);
             v.write(app::Property::silent, 0);
             v.write(app::Property::text_size, 9);
         },
         {"offline on", "silent off", "text size 4", "navigate http://a/"}},
    };
    for (const Row& r : rows) {
        RecordingViewer v;
        v.keep(start_settings);
        r.early(v);
        EXPECT_EQ(v.calls, Calls{}) << r.label << ": no engine yet";
        v.engine_ready();
        EXPECT_EQ(v.calls, r.at_arrival) << r.label;
    }
}

TEST(HtmlViewer, StoredTextSizeIsClampedAsAWriteWouldBe) {
    ui::BrowserSettings settings;
    settings.text_size = -3;
    RecordingViewer v;
    v.keep(settings);
    EXPECT_EQ(v.text_size(), 0);
}

TEST(HtmlViewer, EveryAddressWriteNavigates) {
    RecordingViewer v;
    make_ready(v);
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
        make_ready(v);
        v.write(r.property, r.value);
        EXPECT_EQ(v.calls, Calls{r.call}) << r.label;
    }
    RecordingViewer v;
    make_ready(v);
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
