#include "platform/gtk/label.h"

#include "platform/gtk/accessible.h"

namespace platform::gtk {

namespace {

gboolean draw_label(GtkWidget* widget, cairo_t* cr, gpointer data) {
    const auto& def = *static_cast<const ui::ControlDef*>(data);
    if (def.text.empty()) return FALSE;
    const int width = gtk_widget_get_allocated_width(widget);
    const int height = gtk_widget_get_allocated_height(widget);

    // The widget's own font is the default GUI font: no control stores one.
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, nullptr);
    pango_layout_set_text(layout, def.text.data(), static_cast<int>(def.text.size()));
    if (def.label.word_wrap) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    }
    int text_width = 0, text_height = 0;
    pango_layout_get_pixel_size(layout, &text_width, &text_height);

    int x = 0, y = 0;
    if (def.label.halign == ui::HAlign::centre) x = (width - text_width) / 2;
    if (def.label.halign == ui::HAlign::right) x = width - text_width;
    if (!def.label.word_wrap && def.label.valign == ui::VAlign::centre) y = (height - text_height) / 2;
    if (!def.label.word_wrap && def.label.valign == ui::VAlign::bottom) y = height - text_height;

    const ui::Rgb c = def.label.text_colour;
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    return FALSE;
}

}  // namespace

GtkWidget* create_label(const ui::ControlDef& def) {
    GtkWidget* box = new_label_box();
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(box), FALSE);
    gtk_widget_set_can_focus(box, FALSE);
    g_signal_connect(box, "draw", G_CALLBACK(draw_label), const_cast<ui::ControlDef*>(&def));
    return box;
}

}  // namespace platform::gtk
