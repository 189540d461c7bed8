#include "app/shell.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "fake_gui.h"

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

// A platform that writes down what the shell asks of it, in order.
class FakePlatform final : public app::Platform {
public:
    explicit FakePlatform(app::Dispatcher& d) : d_(d) {}
    std::vector<std::string> log;
    bool we_init = true, builds = true, exists = true, exit_for_real = false;
    EventKind loop_raises = EventKind::got_focus;

    bool init_component_layer() override { return log.push_back("init"), we_init; }
    void uninit_component_layer() override { log.push_back("uninit"); }
    bool build_main_window() override {
        log.push_back("build");
        // What controls report while they are set up is dropped.
        d_.raise({.source = Control::编辑框1, .kind = EventKind::content_changed});
        return builds;
    }
    bool window_exists() const override { return exists; }
    void show_main_window() override { log.push_back("show"); }
    void run_loop() override {
        log.push_back("loop");
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
    EXPECT_EQ(platform.log, (std::vector<std::string>{"init", "build", "handler created", "show", "loop", "release",
                                                      "uninit"}));
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

TEST_F(ShellTest, AWindowGoneAfterCreationSkipsTheLoop) {
    platform.exists = false;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"init", "build", "handler created", "release", "uninit"}));
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
