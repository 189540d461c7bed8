// The display scale of our windows, asked of whichever Windows runs the program: the per-monitor
// calls where the system has them (Windows 10 and later), the one system-wide scale before that.
#pragma once

#include <windows.h>

namespace platform::win32 {

// The scale the system draws everything at when it has no per-monitor answer.
int system_dpi();
// The scale of the display the window is on.
int window_dpi(HWND w);
// A system metric (frame, icon sizes) as it is at that scale.
int metric_for_dpi(int index, int dpi);

// The default GUI font at a window's scale: the stock font itself at the scale it was made for, so
// nothing changes where nothing is scaled; otherwise a copy of it at the scaled height, owned here.
class GuiFont {
public:
    GuiFont() = default;
    GuiFont(const GuiFont&) = delete;
    GuiFont& operator=(const GuiFont&) = delete;
    ~GuiFont() { release(); }

    HFONT at(int dpi);

private:
    void release();

    HFONT own_ = nullptr;
    int dpi_ = 0;
};

}  // namespace platform::win32
