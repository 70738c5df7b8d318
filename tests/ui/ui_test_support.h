// Helpers of the wizard tests: a sandbox directory that is also HOME, TMPDIR
// and the front of PATH while it lives, kits built from small trees, and the
// GTK side: pumping events without blocking, answering message boxes as a
// user would, and posting clicks, keys and close requests. Test (GTK) thread
// only; no GDK lock is ever taken.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/scratch_directory.h"
#include "text/wide_string.h"

namespace ui_test {

// A directory under the build tree with "home", "tmp" and "bin" inside;
// HOME, TMPDIR and PATH point there until it is destroyed.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // Absolute path; relative() is the same path relative to the current directory.
  const std::string& root() const { return m_directory.path(); }
  const std::string& relative() const { return m_relative; }
  std::string operator/(const std::string& name) const { return m_directory / name; }
  std::string home() const { return m_directory / "home"; }
  // Installs a fake "xdg-open" that appends each argument it gets, one per
  // line, to the file it returns.
  std::string installRecordingOpener();

 private:
  ScratchDirectory m_directory;
  std::string m_relative;
  std::map<std::string, std::string> m_savedEnvironment;
};

struct KitProductSpec {
  std::string lang;
  std::string title;
  std::string vendor;
  std::string readme;
};

// Writes the files (relative name -> content, "/" separated) below `tree`,
// each with modification time `seconds`, and packs them into `kitDirectory`
// + "/orbp8.pkd".
void makeKit(const std::string& tree, const std::map<std::string, std::string>& files,
             const std::vector<KitProductSpec>& products, const std::string& kitDirectory,
             long seconds = 1600000000);

bool pathExists(const std::string& path);
void makeDirectories(const std::string& path);

// True when GTK could open a display (checked once per process).
bool displayAvailable();
// Handles ready events until `done` holds or `timeoutMs` passed; never blocks
// waiting for an event.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);
void pumpFor(int milliseconds);

// What a message box showed.
struct BoxSeen {
  std::string text;
  std::string title;
  GtkMessageType type;
  bool yesNo;
};

// Watches for message boxes while it lives and answers each one: with the
// next queued response, else OK (or No for a Yes/No box).
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::vector<GtkResponseType> responses = {});
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  const std::vector<BoxSeen>& seen() const { return m_seen; }
  void queue(GtkResponseType response) { m_responses.push_back(response); }

 private:
  static gboolean poll(gpointer self);

  std::vector<GtkResponseType> m_responses;
  std::vector<BoxSeen> m_seen;
  guint m_source;
};

// Each runs once from the main loop, so a handler that nests its own loop
// does not hold up the test's watchers.
void postClick(GtkWidget* button);
void postKey(GtkWidget* window, guint keyval);
void postCloseRequest(GtkWidget* window);
// Runs `action` once from the main loop as soon as `condition` holds.
void postWhen(std::function<bool()> condition, std::function<void()> action);
// Drops every posted action that has not run yet (they refer to a test's locals).
void cancelPostedActions();

std::string labelText(GtkWidget* label);
std::string buttonCaption(GtkWidget* button);
bool isVisible(GtkWidget* widget);
bool isSensitive(GtkWidget* widget);
// Position of a child of a fixed container.
void childPosition(GtkWidget* child, int& x, int& y);

}  // namespace ui_test

using namespace ui_test;
