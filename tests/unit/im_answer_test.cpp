#include "platform/gtk/im_answer.h"

#include <gtest/gtest.h>

namespace {

using platform::gtk::im_answer;
using platform::gtk::im_declined_mark;
using platform::gtk::im_took_mark;
using platform::gtk::ImAnswer;

TEST(InputMethodAnswer, FromTheMarksTheFrameworksLeaveInTheKey) {
    struct Row {
        const char* label;
        unsigned state;
        bool consumed, makes_text;
        ImAnswer answer;
    };
    constexpr unsigned shift = 1;
    const Row rows[] = {
        {"composing a letter", im_took_mark, true, true, ImAnswer::took},
        {"taken, modifier bits beside the mark", im_took_mark | shift, true, false, ImAnswer::took},
        {"declined enter goes on", im_declined_mark, false, false, ImAnswer::declined},
        {"declined letter typed by the fallback", im_declined_mark, true, true, ImAnswer::typed},
        {"declined dead key composed by the fallback", im_declined_mark, true, false, ImAnswer::took},
        {"no framework answering, nothing taken", 0, false, false, ImAnswer::declined},
        {"no framework answering, letter typed", 0, true, true, ImAnswer::typed},
    };
    for (const Row& r : rows) EXPECT_EQ(im_answer(r.state, r.consumed, r.makes_text), r.answer) << r.label;
}

}  // namespace
