// Where the main window goes on the screen, and which background tiles a repaint must draw.
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

// Copies of a picture at natural size laid side by side from the client's top-left corner:
// the tiles that meet the area being repainted.
std::vector<Rect> tiles_meeting(int picture_width, int picture_height, int client_width, int client_height,
                                const Rect& area);

}  // namespace ui
