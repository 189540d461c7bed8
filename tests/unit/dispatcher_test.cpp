#include "app/dispatcher.h"

#include <gtest/gtest.h>

#include <new>

#include "fake_gui.h"

namespace {

using app::Answer;
using app::EventKind;
using ui::Control;

int calls = 0;
std::vector<std::int32_t> seen;

std::optional<std::int32_t> no_result(app::Gui&, std::span<const std::int32_t> args) {
    ++calls;
    seen.assign(args.begin(), args.end());
    return std::nullopt;
}
std::optional<std::int32_t> gives_zero(app::Gui&, std::span<const std::int32_t>) { return 0; }
std::optional<std::int32_t> gives_seven(app::Gui&, std::span<const std::int32_t>) { return 7; }

const app::Binding table[] = {
    {Control::按钮1, EventKind::click, no_result},
    {Control::编辑框1, EventKind::key_down, gives_zero},
    {Control::编辑框1, EventKind::key_up, gives_seven},
    {Control::透明标签2, EventKind::left_down, no_result},
};

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls = 0;
        seen.clear();
        d.attach(gui);
    }
    test::FakeGui gui;
    app::Dispatcher d{table};
};

TEST_F(DispatcherTest, CallsTheBoundHandlerWithItsArgumentsInOrder) {
    const Answer a = d.raise({.source = Control::透明标签2, .kind = EventKind::left_down, .args = {5, 9, 2}, .argc = 3});
    EXPECT_TRUE(a.handled);
    EXPECT_FALSE(a.has_result);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{5, 9, 2}));
}

TEST_F(DispatcherTest, NoBindingMeansNotHandled) {
    // Same kind on another control, and another kind on a bound control: bindings are never borrowed.
    EXPECT_FALSE(d.raise({.source = Control::按钮2, .kind = EventKind::click}).handled);
    EXPECT_FALSE(d.raise({.source = Control::按钮1, .kind = EventKind::double_click}).handled);
    EXPECT_EQ(calls, 0);
}

TEST_F(DispatcherTest, ResultOrNoResult) {
    const Answer zero = d.raise({.source = Control::编辑框1, .kind = EventKind::key_down, .args = {13}, .argc = 2});
    EXPECT_TRUE(zero.handled && zero.has_result);
    EXPECT_EQ(zero.result, 0);
    const Answer seven = d.raise({.source = Control::编辑框1, .kind = EventKind::key_up, .argc = 2});
    EXPECT_TRUE(seven.has_result);
    EXPECT_EQ(seven.result, 7);
}

TEST_F(DispatcherTest, SuppressionDropsEventsAndDoesNotQueueThem) {
    d.suppress();
    EXPECT_FALSE(d.raise({.source = Control::按钮1, .kind = EventKind::click}).handled);
    d.resume();
    EXPECT_EQ(calls, 0);  // nothing was postponed
    EXPECT_TRUE(d.raise({.source = Control::按钮1, .kind = EventKind::click}).handled);
    EXPECT_EQ(calls, 1);
}

TEST_F(DispatcherTest, AfterTheEndBeginsNothingRunsAgain) {
    d.end_for_good();
    d.resume();
    EXPECT_FALSE(d.raise({.source = Control::按钮1, .kind = EventKind::click}).handled);
    EXPECT_EQ(calls, 0);
}

TEST(VetoRule, CancelsOnlyAHandledZeroResultOfAVetoEvent) {
    struct Row {
        const char* label;
        EventKind kind;
        Answer answer;
        bool cancels;
    };
    const Row rows[] = {
        {"no handler", EventKind::key_down, {false, false, 0}, false},
        {"handler without result", EventKind::key_down, {true, false, 0}, false},
        {"result 0", EventKind::key_down, {true, true, 0}, true},
        {"result 1", EventKind::key_down, {true, true, 1}, false},
        {"result -1", EventKind::key_down, {true, true, -1}, false},
        {"result 0 of a mouse press", EventKind::left_down, {true, true, 0}, true},
        {"result 0 of a closing query", EventKind::closing_query, {true, true, 0}, true},
        {"result 0 of a click: its answer is ignored", EventKind::click, {true, true, 0}, false},
        {"result 0 of a content change", EventKind::content_changed, {true, true, 0}, false},
    };
    for (const Row& r : rows) EXPECT_EQ(app::cancels(r.kind, r.answer), r.cancels) << r.label;
}

TEST(VetoRule, WhichEventsCanBeVetoed) {
    for (EventKind k : {EventKind::key_down, EventKind::key_up, EventKind::left_down, EventKind::wheel,
                        EventKind::mouse_move, EventKind::closing_query})
        EXPECT_TRUE(app::is_veto_event(k)) << int(k);
    for (EventKind k : {EventKind::click, EventKind::content_changed, EventKind::created, EventKind::got_focus,
                        EventKind::char_input})
        EXPECT_FALSE(app::is_veto_event(k)) << int(k);
}

TEST(VetoRule, InputIsDroppedWhenCancelledOrWhenTheWindowIsGone) {
    const Answer none{true, false, 0}, zero{true, true, 0};
    EXPECT_FALSE(app::drops_input(EventKind::key_down, none, true));
    EXPECT_TRUE(app::drops_input(EventKind::key_down, zero, true));
    EXPECT_TRUE(app::drops_input(EventKind::key_down, none, false)) << "the handler closed the window";
}

}  // namespace
