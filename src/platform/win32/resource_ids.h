// Numbers shared by the resource script and the code that loads what it holds.
#pragma once

// The lowest-numbered icon group is the one the shell shows for the program file.
#define KEYLOOKUP_ICON 1
#define KEYLOOKUP_BACKGROUND 101
