#include "ui/placement.h"

namespace ui {

std::vector<Rect> tiles_meeting(int picture_width, int picture_height, int client_width, int client_height,
                                const Rect& area) {
    std::vector<Rect> tiles;
    if (picture_width <= 0 || picture_height <= 0) return tiles;
    for (int y = 0; y < client_height; y += picture_height)
        for (int x = 0; x < client_width; x += picture_width) {
            const Rect tile{x, y, picture_width, picture_height};
            if (tile.meets(area)) tiles.push_back(tile);
        }
    return tiles;
}

}  // namespace ui
