#include "ui/document_opener.h"

#include <glib.h>

#include <string>

bool open_with_desktop(const WideString& path) {
  std::string argument = narrow_lib(path);
  // A relative name that begins with "-" must not be taken for an option.
  if (!argument.empty() && argument[0] == '-') argument.insert(0, "./");
  gchar* argv[] = {const_cast<gchar*>("xdg-open"), argument.data(), nullptr};
  // Without G_SPAWN_DO_NOT_REAP_CHILD GLib detaches the viewer through an
  // intermediate process, so no zombie is left and nothing waits for it.
  const GSpawnFlags flags =
      static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL);
  GError* error = nullptr;
  const gboolean started =
      g_spawn_async(nullptr, argv, nullptr, flags, nullptr, nullptr, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  return started != FALSE;
}
