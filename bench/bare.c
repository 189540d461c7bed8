/* The yardstick: the least a GTK 3 window hosting the engine does for the same job, so the
 * program's figures can be read against what the toolkit and the engine cost by themselves.
 * Needs: pkg-config --cflags --libs gtk+-3.0 webkit2gtk-4.1 */
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#define START_PAGE "http://www.lanpu.example/dy/jd/index.html"
/* What the program sends once "Midnight Drive" is typed and Enter pressed. */
#define SEARCH_PAGE "http://jidiao.lanpu.example/m/search.php?q=Midnight%20Drive"

static gboolean on_key(GtkWidget *window, GdkEventKey *e, gpointer view) {
    (void)window;
    if (e->keyval != GDK_KEY_Return && e->keyval != GDK_KEY_KP_Enter) return FALSE;
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), SEARCH_PAGE);
    return TRUE;
}

int main(int argc, char **argv) {
    gtk_init(&argc, &argv);

    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "bare");
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);

    /* The same client size and the same view rectangle as the program's window. */
    GtkWidget *fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, 607, 392);
    gtk_container_add(GTK_CONTAINER(window), fixed);

    GtkWidget *view = webkit_web_view_new();
    gtk_widget_set_size_request(view, 605, 288);
    gtk_fixed_put(GTK_FIXED(fixed), view, 1, 86);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), START_PAGE);

    g_signal_connect(window, "key-press-event", G_CALLBACK(on_key), view);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
