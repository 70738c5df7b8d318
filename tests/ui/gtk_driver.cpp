#include "gtk_driver.h"

#include <algorithm>

bool displayAvailable() {
  static const bool available = gtk_init_check(nullptr, nullptr) != FALSE;
  return available;
}

gboolean BoxAnswerer::poll(gpointer data) {
  auto* self = static_cast<BoxAnswerer*>(data);
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* box = GTK_WIDGET(item->data);
    if (!GTK_IS_MESSAGE_DIALOG(box) || !gtk_widget_get_visible(box)) continue;
    gchar* text = nullptr;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    g_object_get(box, "text", &text, "message-type", &type, nullptr);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(box));
    const char* kinds[] = {"info", "warning", "question", "error", "plain"};
    self->m_seen.push_back(std::string(kinds[type]) + " '" + (title ? title : "") + "' " +
                           (text ? text : ""));
    g_free(text);
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    break;
  }
  g_list_free(windows);
  return TRUE;
}

namespace {

struct PostedAction {
  std::function<bool()> condition;
  std::function<void()> action;
};

// The sources of the actions that have not run yet.
std::vector<guint> g_waiting;

gboolean runWhenReady(gpointer data) {
  auto* posted = static_cast<PostedAction*>(data);
  if (!posted->condition()) return TRUE;
  const guint source = g_source_get_id(g_main_current_source());
  g_waiting.erase(std::find(g_waiting.begin(), g_waiting.end(), source));
  posted->action();
  return FALSE;
}

}  // namespace

void postWhen(std::function<bool()> condition, std::function<void()> action) {
  g_waiting.push_back(g_timeout_add_full(
      G_PRIORITY_DEFAULT, 5, runWhenReady,
      new PostedAction{std::move(condition), std::move(action)},
      [](gpointer posted) { delete static_cast<PostedAction*>(posted); }));
}

void cancelPostedActions() {
  for (guint source : g_waiting) g_source_remove(source);
  g_waiting.clear();
}

void sendCloseRequest(GtkWidget* window) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
  event->any.send_event = TRUE;
  gtk_main_do_event(event);
  gdk_event_free(event);
}
