// GDK key values to Windows virtual-key codes, the numbering the rest of the program speaks.
#pragma once

namespace platform::gtk {

// The code of an unshifted key value (the key as it is without Shift); 0 for keys with no code.
// The keypad's Enter gives 13 like the main one, and its digits the main digits' codes.
int virtual_key(unsigned keyval);

}  // namespace platform::gtk
