#include "ui_test_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "kit/kit_layout.h"
#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "support/file_contents.h"

namespace ui_test {

namespace {

void setOrUnset(const std::string& name, const std::string& value) {
  if (value == "\x01unset") {
    unsetenv(name.c_str());
  } else {
    setenv(name.c_str(), value.c_str(), 1);
  }
}

std::string currentDirectory() {
  char* cwd = getcwd(nullptr, 0);
  std::string result = cwd != nullptr ? cwd : "";
  free(cwd);
  return result;
}

}  // namespace

Sandbox::Sandbox()
    : m_directory("ui_sandbox.", "."),
      m_relative(m_directory.path().substr(currentDirectory().size() + 1)) {
  for (const char* sub : {"home", "tmp", "bin"}) mkdir((m_directory / sub).c_str(), 0755);
  for (const char* name : {"HOME", "TMPDIR", "PATH"}) {
    const char* value = getenv(name);
    m_savedEnvironment[name] = value != nullptr ? value : "\x01unset";
  }
  setenv("HOME", (m_directory / "home").c_str(), 1);
  setenv("TMPDIR", (m_directory / "tmp").c_str(), 1);
  const std::string path = m_savedEnvironment["PATH"];
  setenv("PATH", (m_directory / "bin:" + (path == "\x01unset" ? "/usr/bin:/bin" : path)).c_str(),
         1);
}

Sandbox::~Sandbox() {
  for (const auto& [name, value] : m_savedEnvironment) setOrUnset(name, value);
}

std::string Sandbox::installRecordingOpener() {
  const std::string record = m_directory / "opened.txt";
  const std::string script = m_directory / "bin/xdg-open";
  write_file(script,
             "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record + "'; done\n");
  chmod(script.c_str(), 0755);
  return record;
}

void makeKit(const std::string& tree, const std::map<std::string, std::string>& files,
             const std::vector<KitProductSpec>& products, const std::string& kitDirectory,
             long seconds) {
  makeDirectories(tree);
  for (const auto& [name, content] : files) {
    const std::string path = tree + "/" + name;
    makeDirectories(path.substr(0, path.rfind('/')));
    write_file(path, content);
    struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
  KitLayout layout;
  for (const KitProductSpec& product : products) {
    layout.products.push_back({widen_lib(product.lang), widen_lib(product.title),
                               widen_lib(product.vendor), widen_lib(product.readme)});
  }
  std::string error = scan_kit_tree(tree, layout.entries);
  if (error.empty()) {
    makeDirectories(kitDirectory);
    error = write_kit(layout, kitDirectory + "/orbp8.pkd", 6, nullptr);
  }
  if (!error.empty()) throw std::runtime_error("kit: " + error);
}

bool pathExists(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

void makeDirectories(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at == path.size() || path[at] == '/') mkdir(path.substr(0, at).c_str(), 0755);
  }
}

bool displayAvailable() {
  static const bool available = [] {
    // GTK keeps its list of recent files where the first sandbox's HOME
    // would be; one data directory for the whole run outlives every sandbox.
    const std::string data = currentDirectory() + "/ui_tests_data";
    mkdir(data.c_str(), 0755);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    return gtk_init_check(nullptr, nullptr) != FALSE;
  }();
  return available;
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (gtk_events_pending()) {
      gtk_main_iteration_do(FALSE);
    } else {
      g_usleep(2000);
    }
  }
  return true;
}

void pumpFor(int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  pumpUntil([&] { return std::chrono::steady_clock::now() > deadline; }, milliseconds + 1000);
}

BoxAnswerer::BoxAnswerer(std::vector<GtkResponseType> responses)
    : m_responses(std::move(responses)), m_source(g_timeout_add(15, poll, this)) {}

BoxAnswerer::~BoxAnswerer() { g_source_remove(m_source); }

gboolean BoxAnswerer::poll(gpointer data) {
  auto* self = static_cast<BoxAnswerer*>(data);
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (!GTK_IS_MESSAGE_DIALOG(widget) || !gtk_widget_get_visible(widget)) continue;
    BoxSeen box;
    gchar* text = nullptr;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    g_object_get(widget, "text", &text, "message-type", &type, nullptr);
    box.text = text != nullptr ? text : "";
    g_free(text);
    const gchar* title = gtk_window_get_title(GTK_WINDOW(widget));
    box.title = title != nullptr ? title : "";
    box.type = type;
    box.yesNo = gtk_dialog_get_widget_for_response(GTK_DIALOG(widget), GTK_RESPONSE_YES) != nullptr;
    self->m_seen.push_back(box);
    GtkResponseType response = box.yesNo ? GTK_RESPONSE_NO : GTK_RESPONSE_OK;
    if (!self->m_responses.empty()) {
      response = self->m_responses.front();
      self->m_responses.erase(self->m_responses.begin());
    }
    gtk_dialog_response(GTK_DIALOG(widget), response);
    break;
  }
  g_list_free(windows);
  return TRUE;
}

void postClick(GtkWidget* button) {
  g_idle_add(
      [](gpointer widget) -> gboolean {
        gtk_button_clicked(GTK_BUTTON(widget));
        return FALSE;
      },
      button);
}

namespace {

struct PostedKey {
  GtkWidget* window;
  guint keyval;
};

}  // namespace

void postKey(GtkWidget* window, guint keyval) {
  g_idle_add(
      [](gpointer data) -> gboolean {
        auto* key = static_cast<PostedKey*>(data);
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(key->window)));
        event->key.keyval = key->keyval;
        event->key.send_event = TRUE;
        gtk_widget_event(key->window, event);
        gdk_event_free(event);
        delete key;
        return FALSE;
      },
      new PostedKey{window, keyval});
}

void postCloseRequest(GtkWidget* window) {
  g_idle_add(
      [](gpointer widget) -> gboolean {
        GdkEvent* event = gdk_event_new(GDK_DELETE);
        event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(widget))));
        event->any.send_event = TRUE;
        gtk_main_do_event(event);
        gdk_event_free(event);
        return FALSE;
      },
      window);
}

namespace {

struct PostedAction {
  std::function<bool()> condition;
  std::function<void()> action;
  guint source = 0;
};

std::vector<PostedAction*>& pendingActions() {
  static std::vector<PostedAction*> pending;
  return pending;
}

void forget(PostedAction* posted) {
  auto& pending = pendingActions();
  pending.erase(std::remove(pending.begin(), pending.end(), posted), pending.end());
  delete posted;
}

}  // namespace

void postWhen(std::function<bool()> condition, std::function<void()> action) {
  auto* posted = new PostedAction{std::move(condition), std::move(action)};
  pendingActions().push_back(posted);
  posted->source = g_timeout_add(
      5,
      [](gpointer data) -> gboolean {
        auto* waiting = static_cast<PostedAction*>(data);
        if (!waiting->condition()) return TRUE;
        // Take it off the loop before acting: the action may nest a loop.
        waiting->source = g_idle_add(
            [](gpointer inner) -> gboolean {
              auto* ready = static_cast<PostedAction*>(inner);
              std::function<void()> act = std::move(ready->action);
              forget(ready);
              act();
              return FALSE;
            },
            waiting);
        return FALSE;
      },
      posted);
}

void cancelPostedActions() {
  while (!pendingActions().empty()) {
    PostedAction* posted = pendingActions().back();
    g_source_remove(posted->source);
    forget(posted);
  }
}

std::string labelText(GtkWidget* label) {
  const gchar* text = gtk_label_get_text(GTK_LABEL(label));
  return text != nullptr ? text : "";
}

std::string buttonCaption(GtkWidget* button) {
  const gchar* text = gtk_button_get_label(GTK_BUTTON(button));
  return text != nullptr ? text : "";
}

bool isVisible(GtkWidget* widget) { return gtk_widget_get_visible(widget) != FALSE; }

bool isSensitive(GtkWidget* widget) { return gtk_widget_get_sensitive(widget) != FALSE; }

void childPosition(GtkWidget* child, int& x, int& y) {
  GtkWidget* parent = gtk_widget_get_parent(child);
  gtk_container_child_get(GTK_CONTAINER(parent), child, "x", &x, "y", &y, nullptr);
}

}  // namespace ui_test
