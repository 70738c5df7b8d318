#include "ui/dir_select_page.h"

#include <sys/stat.h>

#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/target_path.h"

namespace {

// The directory named by `path` (as a typed one is taken), else the nearest
// directory above it that exists; "" when none does.
std::string nearestExistingDirectory(const WideString& path) {
  std::string directory = narrow_lib(targetFromTypedPath(path));
  while (!directory.empty()) {
    struct stat status;
    if (stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return directory;
    const size_t slash = directory.find_last_of('/', directory.size() - 2);
    if (slash == std::string::npos) return std::string();
    directory.resize(slash == 0 ? 1 : slash);
  }
  return directory;
}

// GTK 2's chooser keeps a recent-files list that it cannot be told to leave
// alone (a maximum age of 0 empties the list the user's other programs keep)
// and warns when it cannot write it, as in a home without ~/.local/share.
// Those warnings are not the user's concern; every other warning passes.
void passWarningUnlessRecentList(const gchar* domain, GLogLevelFlags level, const gchar* message,
                                 gpointer data) {
  if (message != nullptr && g_strstr_len(message, -1, "recently-used.xbel") != nullptr) return;
  g_log_default_handler(domain, level, message, data);
}

}  // namespace

DirSelectPage::DirSelectPage(GtkWidget* parent, GdkPixbuf* banner) : WizardDialogPage(parent) {
  m_image = addBanner(banner);
  m_label = createMainAreaLabel(parent);
  m_widgets.push_back(m_label);
  setNote(WideString());

  m_catalogueLabel = gtk_label_new(narrow_utf8(LoadResString("IDS_TEMPLATE_CATALOG")).c_str());
  place(m_catalogueLabel, 170, 255);

  m_entry = gtk_entry_new();
  gtk_widget_set_size_request(m_entry, 280, 30);
  // Enter in the path presses the window's default button, Next.
  gtk_entry_set_activates_default(GTK_ENTRY(m_entry), TRUE);
  place(m_entry, 170, 275);

  m_browseButton = gtk_button_new_with_label("...");
  gtk_widget_set_size_request(m_browseButton, 30, 30);
  place(m_browseButton, 460, 275);
  g_signal_connect(m_browseButton, "clicked", G_CALLBACK(button_clicked_handler), this);
}

WideString DirSelectPage::getPath() const {
  const gchar* text = gtk_entry_get_text(GTK_ENTRY(m_entry));
  return text == nullptr ? WideString() : widen_utf8(text);
}

void DirSelectPage::setPath(const std::string& path) {
  gtk_entry_set_text(GTK_ENTRY(m_entry), path.c_str());
}

void DirSelectPage::setPath(const WideString& path) { setPath(narrow_utf8(path)); }

void DirSelectPage::setNote(const WideString& note) {
  const WideString prompt = LoadResString("IDS_DESTINATION_PROMPT");
  gtk_label_set_text(GTK_LABEL(m_label),
                     narrow_utf8(note.empty() ? prompt : prompt + u"\n\n" + note).c_str());
}

void DirSelectPage::showDirDialog() {
  static bool recentListQuiet = false;
  if (!recentListQuiet) {
    g_log_set_handler("Gtk", G_LOG_LEVEL_WARNING, passWarningUnlessRecentList, nullptr);
    recentListQuiet = true;
  }
  // Captions and title in the interface language rather than GTK's own,
  // which GTK has in fewer languages.
  GtkWidget* chooser =
      gtk_file_chooser_dialog_new(narrow_utf8(LoadResString("IDS_CHOOSEDIR_TITLE")).c_str(), nullptr,
                                  GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, nullptr, nullptr);
  add_dialog_button(chooser, "IDS_BROWSE_CANCEL", GTK_RESPONSE_CANCEL);
  add_dialog_button(chooser, "IDS_BROWSE_OK", GTK_RESPONSE_ACCEPT);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  // Opens where the entry points, or as near to it as there is a directory.
  const std::string start = nearestExistingDirectory(getPath());
  if (!start.empty()) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), start.c_str());
  if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    // The name as the file system has it, shown as text.
    gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
    if (name != nullptr) {
      setPath(widen_lib(name));
      g_free(name);
    }
  }
  gtk_widget_destroy(chooser);
}

void button_clicked_handler(GtkWidget*, gpointer page) {
  if (page != nullptr) static_cast<DirSelectPage*>(page)->showDirDialog();
}
