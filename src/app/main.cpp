// Entry point of the setup program: prepares GLib and GDK for the
// installation's worker thread, then runs the application object and returns
// its exit code.

#include <gdk/gdk.h>
#include <glib.h>

#include "app/installer_app.h"

int main(int argc, char** argv) {
#if !GLIB_CHECK_VERSION(2, 32, 0)
  // Older GLib must be told that a second thread will exist; since 2.32 its
  // threading is always ready and the call is deprecated.
  g_thread_init(nullptr);
#endif
  gdk_threads_init();
  CInstallerApp app(argc, argv);
  return app.InitInstance();
}
