// The main window's tiled background picture, decoded at the first paint and kept.
#pragma once

#include <cairo.h>

namespace platform::gtk {

class Background {
public:
    ~Background();
    // Paints the tiles that meet the clip area; paints nothing when the picture cannot be decoded,
    // so the window's own background colour shows.
    void paint(cairo_t* cr, int client_width, int client_height);

private:
    void decode(cairo_t* cr, int client_width, int client_height);

    bool tried_ = false;
    cairo_surface_t* surface_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace platform::gtk
