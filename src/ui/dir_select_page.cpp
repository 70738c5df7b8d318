#include "ui/dir_select_page.h"

#include "text/languages.h"
#include "ui/button_caption.h"

DirSelectPage::DirSelectPage(GtkWidget* parent, GdkPixbuf* banner) : WizardDialogPage(parent) {
  m_image = addBanner(banner);
  m_label = createMainAreaLabel(parent);
  m_widgets.push_back(m_label);
  setNote(WideString());

  m_catalogueLabel = gtk_label_new(narrow_lib(LoadResString("IDS_TEMPLATE_CATALOG")).c_str());
  place(m_catalogueLabel, 170, 255);

  m_entry = gtk_entry_new();
  gtk_widget_set_size_request(m_entry, 280, 30);
  place(m_entry, 170, 275);

  m_browseButton = gtk_button_new_with_label("...");
  gtk_widget_set_size_request(m_browseButton, 30, 30);
  place(m_browseButton, 460, 275);
  g_signal_connect(m_browseButton, "clicked", G_CALLBACK(button_clicked_handler), this);
}

WideString DirSelectPage::getPath() const {
  const gchar* text = gtk_entry_get_text(GTK_ENTRY(m_entry));
  return text == nullptr ? WideString() : widen_lib(text);
}

void DirSelectPage::setPath(const std::string& path) {
  gtk_entry_set_text(GTK_ENTRY(m_entry), path.c_str());
}

void DirSelectPage::setPath(const WideString& path) { setPath(narrow_lib(path)); }

void DirSelectPage::setNote(const WideString& note) {
  const WideString prompt = LoadResString("IDS_DESTINATION_PROMPT");
  gtk_label_set_text(GTK_LABEL(m_label),
                     narrow_lib(note.empty() ? prompt : prompt + u"\n\n" + note).c_str());
}

void DirSelectPage::showDirDialog() {
  // Captions and title in the interface language rather than GTK's own,
  // which GTK has in fewer languages.
  GtkWidget* chooser =
      gtk_file_chooser_dialog_new(narrow_lib(LoadResString("IDS_CHOOSEDIR_TITLE")).c_str(), nullptr,
                                  GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, nullptr, nullptr);
  add_dialog_button(chooser, "IDS_BROWSE_CANCEL", GTK_RESPONSE_CANCEL);
  add_dialog_button(chooser, "IDS_BROWSE_OK", GTK_RESPONSE_ACCEPT);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
    if (name != nullptr) {
      setPath(std::string(name));
      g_free(name);
    }
  }
  gtk_widget_destroy(chooser);
}

void button_clicked_handler(GtkWidget*, gpointer page) {
  if (page != nullptr) static_cast<DirSelectPage*>(page)->showDirDialog();
}
