// The main window's tiled background picture, decoded at the first paint and kept, with a copy at
// the display's scale when that is not the design's.
#pragma once

#include <windows.h>

namespace platform::win32 {

class Background {
public:
    Background() = default;
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    ~Background();

    // Paints the tiles, each the picture's natural size scaled to dpi, that meet the area being
    // repainted, or the button-face colour when the picture cannot be decoded.
    void paint(HDC dc, const RECT& area, int client_width, int client_height, int dpi);

private:
    void decode();
    // The picture at that scale, made once per scale; the decoded one itself at the design's.
    HBITMAP at(HDC dc, int dpi);

    bool tried_ = false;
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
    HBITMAP scaled_ = nullptr;
    int scaled_dpi_ = 0;
};

}  // namespace platform::win32
