// The real GTK program, measuring itself: Enter in the edit box prints, for every control, where the
// toolkit placed it, where the pixels of the text it draws lie (both in client coordinates) and the
// font it draws with, one line each:
//   "<name>|<left> <top> <width> <height>|<ink left> <top> <right> <bottom>|<font pixels>|<family>"
// (the ink is "-" when the control draws no text). The test decides what fits.
#include <cstdio>
#include <string>

#include <gtk/gtk.h>

#include "platform/gtk/run.h"
#include "ui/placement.h"
#include "ui/window_def.h"

namespace {

using ui::Control;

// The control the table puts at the spot where GtkFixed was asked to place this child.
const ui::ControlDef* def_at(GtkWidget* fixed, GtkWidget* child) {
    int x = 0, y = 0;
    gtk_container_child_get(GTK_CONTAINER(fixed), child, "x", &x, "y", &y, nullptr);
    for (const ui::ControlDef& d : ui::controls)
        if (d.rect.left == x && d.rect.top == y) return &d;
    return nullptr;
}

// A layout's inked pixels, with its origin at (x, y) of the client area.
ui::Rect ink_at(PangoLayout* layout, int x, int y) {
    PangoRectangle ink;
    pango_layout_get_pixel_extents(layout, &ink, nullptr);
    if (ink.width <= 0 || ink.height <= 0) return {};
    return {x + ink.x, y + ink.y, ink.width, ink.height};
}

// From a widget's own coordinates to the client area's, which the layout speaks of.
ui::Point to_client(GtkWidget* w, GtkWidget* fixed, int x, int y) {
    int cx = 0, cy = 0;
    gtk_widget_translate_coordinates(w, fixed, x, y, &cx, &cy);
    return {cx, cy};
}

// The widget that draws the control's text: a button's caption is a label inside it.
GtkWidget* text_widget(GtkWidget* w) {
    return GTK_IS_BUTTON(w) ? gtk_bin_get_child(GTK_BIN(w)) : w;
}

// The size in pixels of the font a widget draws with, whether the style gave it in points or pixels.
double font_pixels(const PangoFontDescription* font, GtkWidget* w) {
    const double size = double(pango_font_description_get_size(font)) / PANGO_SCALE;
    if (pango_font_description_get_size_is_absolute(font)) return size;
    const double dpi = gdk_screen_get_resolution(gtk_widget_get_screen(w));
    return size * (dpi > 0 ? dpi : 96.0) / 72.0;
}

ui::Rect text_ink(GtkWidget* w, GtkWidget* fixed, const ui::ControlDef& d) {
    switch (d.kind) {
    case ui::Kind::Button: {
        GtkLabel* caption = GTK_LABEL(gtk_bin_get_child(GTK_BIN(w)));
        int x = 0, y = 0;
        gtk_label_get_layout_offsets(caption, &x, &y);
        // A label's offsets count from the window it draws on, an ancestor's, where its allocation
        // starts too; an entry's count from its allocation.
        GtkAllocation a;
        gtk_widget_get_allocation(GTK_WIDGET(caption), &a);
        const ui::Point at = to_client(GTK_WIDGET(caption), fixed, x - a.x, y - a.y);
        return ink_at(gtk_label_get_layout(caption), at.x, at.y);
    }
    case ui::Kind::EditBox: {
        int x = 0, y = 0;
        gtk_entry_get_layout_offsets(GTK_ENTRY(w), &x, &y);
        const ui::Point at = to_client(w, fixed, x, y);
        return ink_at(gtk_entry_get_layout(GTK_ENTRY(w)), at.x, at.y);
    }
    case ui::Kind::TransLabel: {
        // The label draws its text with its own font, left-aligned and centred vertically.
        PangoLayout* layout = gtk_widget_create_pango_layout(w, std::string(d.text).c_str());
        int width = 0, height = 0;
        pango_layout_get_pixel_size(layout, &width, &height);
        const ui::Point at = to_client(w, fixed, 0, 0);
        const ui::Rect r = ink_at(layout, at.x, at.y + (gtk_widget_get_allocated_height(w) - height) / 2);
        g_object_unref(layout);
        return r;
    }
    default:
        return {};
    }
}

void print_control(GtkWidget* fixed, GtkWidget* w) {
    const ui::ControlDef* d = def_at(fixed, w);
    if (!d) return;
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(w, fixed, 0, 0, &x, &y);
    std::printf("%s|%d %d %d %d|", d->name.data(), x, y, gtk_widget_get_allocated_width(w),
                gtk_widget_get_allocated_height(w));
    const ui::Rect ink = text_ink(w, fixed, *d);
    if (ink.empty())
        std::printf("-");
    else
        std::printf("%d %d %d %d", ink.left, ink.top, ink.right(), ink.bottom());
    const PangoFontDescription* font = pango_context_get_font_description(gtk_widget_get_pango_context(text_widget(w)));
    const char* family = pango_font_description_get_family(font);
    std::printf("|%.2f|%s\n", font_pixels(font, w), family ? family : "");
}

std::optional<std::int32_t> measure(app::Gui&, std::span<const std::int32_t> args) {
    if (args.empty() || args[0] != 13) return std::nullopt;
    GList* windows = gtk_window_list_toplevels();
    for (GList* l = windows; l; l = l->next) {
        GtkWidget* fixed = gtk_bin_get_child(GTK_BIN(l->data));
        if (!fixed || !GTK_IS_FIXED(fixed)) continue;
        GList* children = gtk_container_get_children(GTK_CONTAINER(fixed));
        for (GList* c = children; c; c = c->next) print_control(fixed, GTK_WIDGET(c->data));
        g_list_free(children);
    }
    g_list_free(windows);
    std::printf("measured\n");
    std::fflush(stdout);
    return std::nullopt;
}

constexpr app::Binding bindings[] = {{Control::编辑框1, app::EventKind::key_down, measure}};

}  // namespace

int main() { platform::gtk::run(bindings); }
