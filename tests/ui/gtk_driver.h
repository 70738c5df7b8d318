// Drives the wizard's GTK side in the test process: opens the display once,
// answers message boxes as a user would, sends the close request of a window
// manager and runs actions from the main loop once their condition holds, so
// that a modal run can be steered. Test (GTK) thread only.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

// True when GTK could open a display (tried once per process).
bool displayAvailable();

// Answers every message box shown while it lives with OK and records each
// as "<kind> '<title>' <text>", the kind being "error", "question" or "plain".
class BoxAnswerer {
 public:
  BoxAnswerer() : m_source(g_timeout_add(15, poll, this)) {}
  ~BoxAnswerer() { g_source_remove(m_source); }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  const std::vector<std::string>& seen() const { return m_seen; }

 private:
  static gboolean poll(gpointer self);

  std::vector<std::string> m_seen;
  guint m_source;
};

// Runs `action` once from the main loop as soon as `condition` holds; an
// action may nest a loop (a modal box, an installation) without holding up
// the others.
void postWhen(std::function<bool()> condition, std::function<void()> action);
// Drops the posted actions that have not run (they refer to a test's locals).
void cancelPostedActions();

// What the window manager sends when the user closes the window.
void sendCloseRequest(GtkWidget* window);
