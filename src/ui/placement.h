// Where the main window goes on the screen, how the layout grows on a scaled display, and which
// background tiles a repaint must draw.
#pragma once

#include <vector>

#include "ui/window_def.h"

namespace ui {

struct Point {
    int x, y;
    friend constexpr bool operator==(Point, Point) = default;
};

// Centred on the full screen, divisions truncating toward zero: a window wider than the screen
// starts left of it and is never moved back.
constexpr Point centred(int screen_width, int screen_height, int outer_width, int outer_height) {
    return {(screen_width - outer_width) / 2, (screen_height - outer_height) / 2};
}

// The layout is drawn for this display scale; at any other, every length grows in proportion.
inline constexpr int design_dpi = 96;

// Rounded to the nearest pixel, halves away from zero, as the system's own MulDiv rounds: the
// program's sizes then agree with the ones Windows computes for the same scale.
constexpr int scaled(int length, int dpi, int from_dpi = design_dpi) {
    if (dpi <= 0 || from_dpi <= 0) return length;
    const long long n = static_cast<long long>(length) * dpi, half = from_dpi / 2;
    return static_cast<int>(n >= 0 ? (n + half) / from_dpi : -((half - n) / from_dpi));
}

// The edges are scaled, not the sizes: controls that meet at an edge still meet, and none comes to
// overlap another or leave a gap that was not there, whatever the rounding does to each width.
constexpr Rect scaled(const Rect& r, int dpi) {
    const int left = scaled(r.left, dpi), top = scaled(r.top, dpi);
    return {left, top, scaled(r.right(), dpi) - left, scaled(r.bottom(), dpi) - top};
}

// Copies of a picture at natural size laid side by side from the client's top-left corner:
// the tiles that meet the area being repainted.
std::vector<Rect> tiles_meeting(int picture_width, int picture_height, int client_width, int client_height,
                                const Rect& area);

}  // namespace ui
