#include "platform/gtk/im_answer.h"

namespace platform::gtk {

ImAnswer im_answer(unsigned state, bool consumed, bool makes_text) {
    if (state & im_took_mark) return ImAnswer::took;
    if (!consumed) return ImAnswer::declined;
    // Declined by the framework (or no framework answering) yet consumed: the toolkit's simple
    // method behind it typed the character, or began, went on with or cancelled a dead-key sequence.
    return makes_text ? ImAnswer::typed : ImAnswer::took;
}

}  // namespace platform::gtk
