#include "platform/gtk/im_answer.h"

namespace platform::gtk {

ImAnswer im_answer(unsigned state, bool consumed, bool answers_at_once, bool makes_text) {
    // Asynchronous, the mark only says the method has the key now: a key it took is never
    // reported back, one it did not take returns with the decline mark.
    if (state & im_took_mark) return answers_at_once ? ImAnswer::took : ImAnswer::pending;
    if (!consumed) return ImAnswer::declined;
    // Declined by the framework (or no framework answering) yet consumed: the toolkit's simple
    // method behind it typed the character, or began, went on with or cancelled a dead-key sequence.
    return makes_text ? ImAnswer::typed : ImAnswer::took;
}

}  // namespace platform::gtk
