#include "app/shell.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "fake_gui.h"
#include "lookup/sites.h"
#include "ui/window_def.h"
#include "recording_viewer.h"

namespace {

using app::EventKind;
using ui::Control;

std::vector<std::string>* journal = nullptr;

std::optional<std::int32_t> note_created(app::Gui&, std::span<const std::int32_t>) {
    journal->push_back("handler created");
    return std::nullopt;
}
std::optional<std::int32_t> note_change(app::Gui&, std::span<const std::int32_t>) {
    journal->push_back("handler changed");
    std::fputs("HANDLER RAN\n", stderr);
    return std::nullopt;
}
std::optional<std::int32_t> out_of_memory(app::Gui&, std::span<const std::int32_t>) { throw std::bad_alloc(); }

const app::Binding table[] = {
    {Control::window, EventKind::created, note_created},
    {Control::编辑框1, EventKind::content_changed, note_change},
    {Control::按钮1, EventKind::click, out_of_memory},
};

struct Left {
    int code;
};

// A platform that writes down what the shell asks of it, in order, and what its browser view's
// engine is asked to do.
class FakePlatform final : public app::Platform {
public:
    explicit FakePlatform(app::Dispatcher& d) : d_(d) {}
    std::vector<std::string> log;
    test::RecordingViewer view{&log};
    bool we_init = true, builds = true, exists = true, exit_for_real = false, engine_made = true;
    bool closed_before_first_frame = false;
    EventKind loop_raises = EventKind::got_focus;
    // What the user does between the window's showing and its first frame.
    std::function<void()> early_input;

    bool init_component_layer() override { return log.push_back("init"), we_init; }
    void uninit_component_layer() override { log.push_back("uninit"); }
    bool build_main_window() override {
        log.push_back("build");
        // What controls report while they are set up is dropped.
        d_.raise({.source = Control::编辑框1, .kind = EventKind::content_changed});
        view.keep(ui::def(Control::基调).browser);
        return builds;
    }
    bool window_exists() const override { return exists; }
    void show_main_window() override { log.push_back("show"); }
    void after_first_frame(std::function<void()> step) override { first_frame_ = std::move(step); }
    bool create_browser_engine() override {
        log.push_back("engine");
        if (engine_made) view.engine_ready();
        return engine_made;
    }
    void run_loop() override {
        log.push_back("loop");
        if (early_input) early_input();
        if (closed_before_first_frame) exists = false;
        if (first_frame_) {
            log.push_back("first frame");
            std::exchange(first_frame_, nullptr)();
        }
        d_.raise({.source = Control::按钮1, .kind = loop_raises});
    }
    void release() override { log.push_back("release"); }
    void show_fatal_message(std::string_view m) override {
        log.push_back("message");
        std::fprintf(stderr, "%.*s\n", int(m.size()), m.data());
        // An event arriving while the message is up must not reach a handler.
        d_.raise({.source = Control::编辑框1, .kind = EventKind::content_changed});
    }
    [[noreturn]] void leave_process(int code) override {
        if (exit_for_real) std::exit(code);
        throw Left{code};
    }

private:
    app::Dispatcher& d_;
    std::function<void()> first_frame_;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        journal = &platform.log;
        dispatcher.attach(gui);
    }
    int run() {
        try {
            app::Shell(platform, dispatcher).start();
        } catch (const Left& left) {
            return left.code;
        }
        return 1000;  // unreachable: start() never returns
    }
    test::FakeGui gui;
    app::Dispatcher dispatcher{table};
    FakePlatform platform{dispatcher};
};

TEST_F(ShellTest, StartsRunsAndEndsInOrder) {
    EXPECT_EQ(run(), 0);
    const std::string start(lookup::start_page);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"init", "build", "handler created", "show", "loop", "first frame",
                                                      "engine", "offline off", "silent on", "text size 2",
                                                      "navigate " + start, "release", "uninit"}));
}

TEST_F(ShellTest, LeavesTheComponentLayerAloneWhenItWasNotOursToInitialise) {
    platform.we_init = false;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.log.back(), "release");
}

TEST_F(ShellTest, AWindowThatCannotBeBuiltIsAFatalStopBeforeAnyHandlerOrLoop) {
    platform.builds = false;
    EXPECT_EQ(run(), app::exit_fatal);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"init", "build", "message", "release", "uninit"}));
}

TEST_F(ShellTest, TheEngineComesAfterTheFirstFrameOrNotAtAll) {
    using Log = std::vector<std::string>;
    struct Row {
        const char* label;
        bool engine_made, closed_before_first_frame;
        int exit_code;
        Log from_loop;
    };
    const Row rows[] = {
        {"made: it starts on the stored address", true, false, 0,
         {"loop", "first frame", "engine", "offline off", "silent on", "text size 2",
          "navigate " + std::string(lookup::start_page), "release", "uninit"}},
        {"cannot be made: the fatal stop of a window that cannot be built", false, false, app::exit_fatal,
         {"loop", "first frame", "engine", "message", "release", "uninit"}},
        {"window closed before its first frame: nothing to host it", true, true, 0,
         {"loop", "first frame", "release", "uninit"}},
    };
    for (const Row& r : rows) {
        test::FakeGui fresh_gui;
        app::Dispatcher d{table};
        d.attach(fresh_gui);
        FakePlatform p{d};
        journal = &p.log;
        p.engine_made = r.engine_made;
        p.closed_before_first_frame = r.closed_before_first_frame;
        int code = 1000;
        try {
            app::Shell(p, d).start();
        } catch (const Left& left) {
            code = left.code;
        }
        EXPECT_EQ(code, r.exit_code) << r.label;
        const Log before{"init", "build", "handler created", "show"};
        Log expected = before;
        expected.insert(expected.end(), r.from_loop.begin(), r.from_loop.end());
        EXPECT_EQ(p.log, expected) << r.label;
    }
}

TEST_F(ShellTest, AWindowGoneAfterCreationSkipsTheLoop) {
    platform.exists = false;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"init", "build", "handler created", "release", "uninit"}));
}

// The program's own bindings: what the user does before the engine exists reaches it when it comes.
TEST(WindowFirst, InputBeforeTheEngineIsWhatTheEngineStartsWith) {
    using Log = std::vector<std::string>;
    const std::string start(lookup::start_page), search = std::string(lookup::search_prefix) + "Midnight%20Drive";
    struct Row {
        const char* label;
        std::function<void(app::Dispatcher&, test::FakeGui&)> early;
        Log engine_calls;
    };
    const auto enter = [](app::Dispatcher& d, test::FakeGui& gui) {
        gui.content = "Midnight Drive";
        d.raise({.source = Control::编辑框1, .kind = EventKind::key_down, .args = {13, 0}, .argc = 2});
    };
    const Row rows[] = {
        {"nothing typed: the start page", [](app::Dispatcher&, test::FakeGui&) {},
         {"offline off", "silent on", "text size 2", "navigate " + start}},
        {"a title and Enter: its search, once", enter,
         {"offline off", "silent on", "text size 2", "navigate " + search}},
        {"a search, then home: the start page, once",
         [&](app::Dispatcher& d, test::FakeGui& gui) {
             enter(d, gui);
             d.raise({.source = Control::按钮4, .kind = EventKind::click});
         },
         {"offline off", "silent on", "text size 2", "navigate " + start}},
    };
    for (const Row& r : rows) {
        test::FakeGui gui;
        app::Dispatcher d{ui::bindings()};
        d.attach(gui);
        FakePlatform p{d};
        journal = &p.log;
        gui.view = &p.view;
        p.early_input = [&] { r.early(d, gui); };
        try {
            app::Shell(p, d).start();
        } catch (const Left&) {
        }
        const auto engine = std::find(p.log.begin(), p.log.end(), "engine");
        ASSERT_NE(engine, p.log.end()) << r.label;
        EXPECT_EQ(std::count_if(p.log.begin(), engine, [](const std::string& line) { return line.starts_with("navigate"); }),
                  0)
            << r.label << ": nothing loads before the engine exists";
        EXPECT_EQ(Log(engine + 1, engine + 1 + std::ssize(r.engine_calls)), r.engine_calls) << r.label;
    }
}

#ifdef _WIN32
constexpr int fatal_status = -1;
#else
constexpr int fatal_status = 255;  // -1 as an unsigned exit code
#endif

TEST_F(ShellTest, OutOfMemoryInAHandlerShowsTheMessageAndExitsWithMinusOne) {
    platform.exit_for_real = true;
    platform.loop_raises = EventKind::click;
    // The message reaches stderr; "HANDLER RAN" would mean a handler ran after the fatal stop began.
    using ::testing::HasSubstr;
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(fatal_status),
                ::testing::AllOf(HasSubstr("内存不足"), ::testing::Not(HasSubstr("HANDLER RAN"))));
}

}  // namespace
