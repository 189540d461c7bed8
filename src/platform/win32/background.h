// The main window's tiled background picture, decoded at the first paint and kept.
#pragma once

#include <windows.h>

namespace platform::win32 {

class Background {
public:
    Background() = default;
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    ~Background();

    // Paints the tiles that meet the area being repainted, or the button-face colour when the
    // picture cannot be decoded.
    void paint(HDC dc, const RECT& area, int client_width, int client_height);

private:
    void decode();

    bool tried_ = false;
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace platform::win32
