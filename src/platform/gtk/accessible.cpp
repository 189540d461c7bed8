#include "platform/gtk/accessible.h"

#include <string>

#include <gtk/gtk-a11y.h>

#include "platform/gtk/backend.h"
#include "ui/accessibility.h"

namespace platform::gtk {

namespace {

// The accessible object of a label: a plain label, or, once it has a backend to press it through,
// a link with one action.
struct LabelAccessible {
    GtkContainerAccessible parent;  // an event box is a container, and its accessible must be one too
    Backend* presses;
};
struct LabelAccessibleClass {
    GtkContainerAccessibleClass parent_class;
};

struct LabelBox {
    GtkEventBox parent;
};
struct LabelBoxClass {
    GtkEventBoxClass parent_class;
};

void action_init(AtkActionIface* iface);

G_DEFINE_TYPE_WITH_CODE(LabelAccessible, label_accessible, GTK_TYPE_CONTAINER_ACCESSIBLE,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, action_init))
G_DEFINE_TYPE(LabelBox, label_box, GTK_TYPE_EVENT_BOX)

LabelAccessible* label_accessible(gpointer p) {
    return G_TYPE_CHECK_INSTANCE_CAST(p, label_accessible_get_type(), LabelAccessible);
}

void label_accessible_init(LabelAccessible* self) { self->presses = nullptr; }
void label_accessible_class_init(LabelAccessibleClass*) {}

void label_box_init(LabelBox*) {}
void label_box_class_init(LabelBoxClass* klass) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), label_accessible_get_type());
    gtk_widget_class_set_accessible_role(GTK_WIDGET_CLASS(klass), ATK_ROLE_LABEL);
}

gint n_actions(AtkAction* action) { return label_accessible(action)->presses ? 1 : 0; }

const gchar* action_name(AtkAction* action, gint i) {
    return i == 0 && n_actions(action) ? "click" : nullptr;
}

// A press and release in the middle of the label: what a click raises, through the same bindings.
gboolean press_like_a_click(gpointer accessible) {
    auto* self = label_accessible(accessible);
    GtkWidget* label = gtk_accessible_get_widget(GTK_ACCESSIBLE(self));
    Backend* b = self->presses;
    const auto c = label && b ? b->control_of(label) : std::nullopt;
    if (!c) return G_SOURCE_REMOVE;
    const ui::Rect& r = ui::def(*c).rect;
    for (const app::EventKind kind : {app::EventKind::left_down, app::EventKind::left_up}) {
        if (!b->window_exists()) break;  // the handler closed the window under the press
        b->raise({.source = *c, .kind = kind, .args = {r.width / 2, r.height / 2, 0}, .argc = 3});
    }
    return G_SOURCE_REMOVE;
}

// The assistive technology waits for this answer; whatever the press leads to (a message box, a
// browser starting) happens after it, from the main loop, as a real press's handling does.
gboolean do_action(AtkAction* action, gint i) {
    if (i != 0 || !n_actions(action)) return FALSE;
    g_idle_add_full(G_PRIORITY_DEFAULT, press_like_a_click, g_object_ref(action), g_object_unref);
    return TRUE;
}

void action_init(AtkActionIface* iface) {
    iface->do_action = do_action;
    iface->get_n_actions = n_actions;
    iface->get_name = action_name;
}

AtkObject* accessible_of(GtkWidget* w) { return w ? gtk_widget_get_accessible(w) : nullptr; }

void set_name(AtkObject* a, std::string_view name) { atk_object_set_name(a, std::string(name).c_str()); }

}  // namespace

GtkWidget* new_label_box() { return GTK_WIDGET(g_object_new(label_box_get_type(), nullptr)); }

void describe_control(Backend& b, ui::Control c) {
    AtkObject* a = accessible_of(b.widget(c));
    if (!a) return;
    const ui::ControlDef& d = ui::def(c);
    if (d.kind != ui::Kind::Button) set_name(a, ui::accessible_name(c));  // a button has its caption
    // A label that a press acts on is a link: reachable and activatable without a mouse.
    if (G_TYPE_CHECK_INSTANCE_TYPE(a, label_accessible_get_type()) && b.handles(c, app::EventKind::left_down)) {
        label_accessible(a)->presses = &b;
        atk_object_set_role(a, ATK_ROLE_LINK);
    }
    // ATK does not name a control after the label it is labelled by: both are set.
    if (AtkObject* label = d.labelled_by ? accessible_of(b.widget(*d.labelled_by)) : nullptr) {
        atk_object_add_relationship(a, ATK_RELATION_LABELLED_BY, label);
        atk_object_add_relationship(label, ATK_RELATION_LABEL_FOR, a);
    }
}

void describe_controls(Backend& b) {
    for (const ui::ControlDef& d : ui::controls) describe_control(b, d.id);
}

}  // namespace platform::gtk
