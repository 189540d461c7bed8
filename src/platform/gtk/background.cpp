#include "platform/gtk/background.h"

#include <X11/Xutil.h>
#include <cairo-xlib.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <bit>

#include "ui/picture.h"
#include "ui/placement.h"

namespace platform::gtk {

namespace {

constexpr const char* resource_path = "/keylookup/background.jpg";

// Copies the picture into a pixmap of the X server with a plain XPutImage. Cairo would copy it
// through a shared-memory segment as large as the picture, and keep that segment for the rest of
// the run. False where the pixmap does not take the picture's pixels as they are.
bool put_into_pixmap(cairo_surface_t* pixmap, cairo_surface_t* image) {
    if (cairo_surface_get_type(pixmap) != CAIRO_SURFACE_TYPE_XLIB) return false;
    Display* display = cairo_xlib_surface_get_display(pixmap);
    Visual* visual = cairo_xlib_surface_get_visual(pixmap);
    // Cairo's RGB24 pixels are 0x00RRGGBB words in this machine's byte order.
    if (!visual || cairo_xlib_surface_get_depth(pixmap) != 24 || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0xff00 || visual->blue_mask != 0xff)
        return false;
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    XImage* pixels = XCreateImage(display, visual, 24, ZPixmap, 0,
                                  reinterpret_cast<char*>(cairo_image_surface_get_data(image)), width, height, 32,
                                  cairo_image_surface_get_stride(image));
    if (!pixels) return false;
    const bool fits = pixels->bits_per_pixel == 32;
    if (fits) {
        pixels->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
        cairo_surface_flush(pixmap);
        const Drawable target = cairo_xlib_surface_get_drawable(pixmap);
        GC gc = XCreateGC(display, target, 0, nullptr);
        XPutImage(display, target, gc, pixels, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
        XFreeGC(display, gc);
        cairo_surface_mark_dirty(pixmap);
    }
    pixels->data = nullptr;  // the pixels stay the image surface's
    XDestroyImage(pixels);
    return fits;
}

// Draws the picture into a surface like the window's own (on X, a pixmap in the server), so that
// we keep no copy of it in our memory; the image surface itself where that cannot be made.
cairo_surface_t* keep_where_drawn(cairo_t* cr, cairo_surface_t* image) {
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    cairo_surface_t* kept = cairo_surface_create_similar(cairo_get_target(cr), CAIRO_CONTENT_COLOR, width, height);
    if (cairo_surface_status(kept) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(kept);
        return image;
    }
    if (!put_into_pixmap(kept, image)) {
        cairo_t* copy = cairo_create(kept);
        cairo_set_source_surface(copy, image, 0, 0);
        cairo_set_operator(copy, CAIRO_OPERATOR_SOURCE);
        cairo_paint(copy);
        cairo_destroy(copy);
    }
    cairo_surface_destroy(image);
    return kept;
}

}  // namespace

Background::~Background() {
    if (surface_) cairo_surface_destroy(surface_);
}

void Background::decode(cairo_t* cr, int client_width, int client_height) {
    tried_ = true;
    GBytes* bytes = g_resources_lookup_data(resource_path, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) return;
    gsize size = 0;
    const auto* data = static_cast<const std::uint8_t*>(g_bytes_get_data(bytes, &size));
    const ui::Picture picture = ui::decode_jpeg({data, size});
    g_bytes_unref(bytes);
    if (picture.empty()) return;

    // Tiles start at the client's top-left corner, so a picture larger than the client area shows
    // only its top-left part: the rest is never drawn and not kept.
    const int width = std::min(picture.width, client_width), height = std::min(picture.height, client_height);
    if (width <= 0 || height <= 0) return;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return;
    }
    cairo_surface_flush(image);
    unsigned char* dst = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(dst + std::ptrdiff_t{y} * stride);
        const std::uint8_t* src = picture.rgb.data() + std::ptrdiff_t{y} * picture.width * 3;
        for (int x = 0; x < width; ++x, src += 3)
            row[x] = 0xff000000u | std::uint32_t{src[0]} << 16 | std::uint32_t{src[1]} << 8 | src[2];
    }
    cairo_surface_mark_dirty(image);

    surface_ = keep_where_drawn(cr, image);
    width_ = width;
    height_ = height;
}

void Background::paint(cairo_t* cr, int client_width, int client_height) {
    if (!tried_) decode(cr, client_width, client_height);
    if (!surface_) return;
    GdkRectangle clip;
    if (!gdk_cairo_get_clip_rectangle(cr, &clip)) return;
    for (const ui::Rect& t : ui::tiles_meeting(width_, height_, client_width, client_height,
                                               {clip.x, clip.y, clip.width, clip.height})) {
        cairo_set_source_surface(cr, surface_, t.left, t.top);
        cairo_rectangle(cr, t.left, t.top, t.width, t.height);
        cairo_fill(cr);
    }
}

}  // namespace platform::gtk
