// The page on which the user chooses the template directory: a prompt, the
// path entry (Enter in it presses Next) and a button that opens a folder
// chooser. Main (GTK) thread only.
#pragma once

#include <string>

#include "text/wide_string.h"
#include "ui/wizard_dialog_page.h"

class DirSelectPage : public WizardDialogPage {
 public:
  DirSelectPage(GtkWidget* parent, GdkPixbuf* banner);
  ~DirSelectPage() = default;

  void onShow() override {}

  // The entry's text; empty when GTK gives none.
  WideString getPath() const;
  // The entry's text, as UTF-8 or wide.
  void setPath(const std::string& path);
  void setPath(const WideString& path);
  // A line shown under the prompt (which key verified the kit).
  void setNote(const WideString& note);
  // Lets the user pick a folder, starting in the directory the entry names
  // or the nearest one above it that exists; an accepted choice replaces the
  // entry's text.
  void showDirDialog();

  GtkWidget* promptLabel() const { return m_label; }
  GtkWidget* entry() const { return m_entry; }
  GtkWidget* browseButton() const { return m_browseButton; }

 private:
  GtkWidget* m_image;
  GtkWidget* m_label;
  GtkWidget* m_catalogueLabel;
  GtkWidget* m_entry;
  GtkWidget* m_browseButton;
};

// "clicked" handler of the browse button; the user data is the page.
void button_clicked_handler(GtkWidget* widget, gpointer page);
