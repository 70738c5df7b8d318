#include "wizard_driver.h"

#include <gtk/gtk.h>
#include <sys/stat.h>

#include <cstdlib>

#include "support/test_files.h"

Sandbox::Sandbox() : ScratchDirectory("ui_sandbox.", ".") {
  static const std::string originalPath = getenv("PATH") ? getenv("PATH") : "/usr/bin:/bin";
  write_file(*this / "xdg-open", "#!/bin/sh\necho \"$@\" >> '" + (*this / "opened.txt") + "'\n");
  chmod((*this / "xdg-open").c_str(), 0755);
  setenv("HOME", path().c_str(), 1);
  setenv("TMPDIR", path().c_str(), 1);
  setenv("PATH", (path() + ":" + originalPath).c_str(), 1);
}

std::string g_answeredBoxes;

namespace {

// Posted actions remember the generation they belong to; cancelPostedActions()
// starts a new one, and those of older generations end without running.
int g_generation = 0;

gboolean runPostedStep(gpointer step) {
  return (*static_cast<std::function<bool()>*>(step))() ? FALSE : TRUE;
}

gboolean answerBoxes(gpointer) {
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* box = GTK_WIDGET(item->data);
    if (!GTK_IS_MESSAGE_DIALOG(box) || !gtk_widget_get_visible(box)) continue;
    gchar* text = nullptr;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    g_object_get(box, "text", &text, "message-type", &type, nullptr);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(box));
    const char* kinds[] = {"info", "warning", "question", "error", "plain"};
    g_answeredBoxes +=
        std::string(kinds[type]) + " '" + (title ? title : "") + "' " + (text ? text : "") + "\n";
    g_free(text);
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    break;
  }
  g_list_free(windows);
  return TRUE;
}

}  // namespace

bool displayAvailable() {
  static const bool available =
      gtk_init_check(nullptr, nullptr) != FALSE && g_timeout_add(15, answerBoxes, nullptr) != 0;
  return available;
}

void postWhen(std::function<bool()> condition, std::function<void()> action) {
  auto* step = new std::function<bool()>([=, generation = g_generation] {
    if (generation != g_generation) return true;
    if (!condition()) return false;
    action();
    return true;
  });
  g_timeout_add_full(G_PRIORITY_DEFAULT, 5, runPostedStep, step,
                     [](gpointer done) { delete static_cast<std::function<bool()>*>(done); });
}

void cancelPostedActions() { ++g_generation; }
