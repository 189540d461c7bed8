// The program's entry on Linux. It takes no command line.
#include "platform/gtk/run.h"
#include "ui/window_def.h"

int main() { platform::gtk::run(ui::bindings()); }
