// What an input method made of a key, read from the marks IBus and Fcitx leave in its state.
// Plain values only, so it builds and is tested without the toolkit's libraries.
#pragma once

namespace platform::gtk {

// Both frameworks mark a key they took with bit 24 of its state, and with bit 25 one they let
// go, hand back after an asynchronous answer, or forward from their engine.
inline constexpr unsigned im_took_mark = 1u << 24, im_declined_mark = 1u << 25;

enum class ImAnswer {
    declined,  // pre-translate as usual and deliver: the decline mark lets it past the method
    typed,     // the method's plain fallback typed the key's own character: raise the key, consumed
    took,      // composing, committing, cancelling, choosing, or still deciding when asked
               // asynchronously: consumed; a key it lets go after all comes back marked declined
};

// The answer to a key just offered to the focused box's input method: its state afterwards, what
// the method's filter returned, and whether the key, pressed, gives a character of its own.
ImAnswer im_answer(unsigned state, bool consumed, bool makes_text);

}  // namespace platform::gtk
