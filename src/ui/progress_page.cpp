#include "ui/progress_page.h"

#include "text/languages.h"

ProgressPage::ProgressPage(GtkWidget* parent, int barWidth) : WizardDialogPage(parent) {
  m_label = gtk_label_new(nullptr);
  place(m_label, 10, 130);
  m_bar = gtk_progress_bar_new();
  gtk_widget_set_size_request(m_bar, barWidth, 20);
  place(m_bar, 10, 150);
  m_fileLabel = gtk_label_new(nullptr);
  gtk_widget_set_size_request(m_fileLabel, barWidth, -1);
  gtk_label_set_ellipsize(GTK_LABEL(m_fileLabel), PANGO_ELLIPSIZE_MIDDLE);
  gtk_misc_set_alignment(GTK_MISC(m_fileLabel), 0.0f, 0.5f);
  place(m_fileLabel, 10, 175);
  m_startText = narrow_lib(LoadResString("IDS_PROGRESS_START"));
  m_finishText = narrow_lib(LoadResString("IDS_INSTALL_FINISH"));
  m_preparingText = narrow_lib(LoadResString("IDS_PREPARECOPY"));
  m_rollbackText = narrow_lib(LoadResString("IDS_ROLLBACK_PROGRESS"));
  setProgress(0);
}

void ProgressPage::setProgress(int percent) {
  showState(percent == 100 ? m_finishText : m_startText, percent);
}

void ProgressPage::setCheckProgress(int percent) { showState(m_preparingText, percent); }

void ProgressPage::setRollbackProgress(int percent) { showState(m_rollbackText, percent); }

void ProgressPage::setCurrentFile(const WideString& name) {
  // Set only when it changes: each new text makes GTK measure it again.
  if (name == m_currentFile) return;
  m_currentFile = name;
  gtk_label_set_text(GTK_LABEL(m_fileLabel), narrow_lib(name).c_str());
}

void ProgressPage::showState(const std::string& text, int percent) {
  gtk_label_set_text(GTK_LABEL(m_label), text.c_str());
  double fraction = percent / 100.0;
  // GTK 2 warns about fractions outside 0..1 before it clamps them.
  if (fraction > 1.0) fraction = 1.0;
  if (fraction < 0.0) fraction = 0.0;
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(m_bar), fraction);
}
