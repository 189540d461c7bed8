#include "platform/gtk/background.h"

#include <gtk/gtk.h>

#include "ui/picture.h"
#include "ui/placement.h"

namespace platform::gtk {

namespace {
constexpr const char* resource_path = "/keylookup/background.jpg";
}

Background::~Background() {
    if (surface_) cairo_surface_destroy(surface_);
}

void Background::decode() {
    tried_ = true;
    GBytes* bytes = g_resources_lookup_data(resource_path, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) return;
    gsize size = 0;
    const auto* data = static_cast<const std::uint8_t*>(g_bytes_get_data(bytes, &size));
    const ui::Picture picture = ui::decode_jpeg({data, size});
    g_bytes_unref(bytes);
    if (picture.empty()) return;

    // Kept in the drawing format only; the RGB rows go once converted.
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
        return;
    }
    cairo_surface_flush(surface_);
    unsigned char* dst = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const std::uint8_t* src = picture.rgb.data();
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(dst + std::ptrdiff_t{y} * stride);
        for (int x = 0; x < picture.width; ++x, src += 3)
            row[x] = 0xff000000u | std::uint32_t{src[0]} << 16 | std::uint32_t{src[1]} << 8 | src[2];
    }
    cairo_surface_mark_dirty(surface_);
}

void Background::paint(cairo_t* cr, int client_width, int client_height) {
    if (!tried_) decode();
    if (!surface_) return;
    GdkRectangle clip;
    if (!gdk_cairo_get_clip_rectangle(cr, &clip)) return;
    const int w = cairo_image_surface_get_width(surface_), h = cairo_image_surface_get_height(surface_);
    for (const ui::Rect& t : ui::tiles_meeting(w, h, client_width, client_height,
                                               {clip.x, clip.y, clip.width, clip.height})) {
        cairo_set_source_surface(cr, surface_, t.left, t.top);
        cairo_rectangle(cr, t.left, t.top, t.width, t.height);
        cairo_fill(cr);
    }
}

}  // namespace platform::gtk
