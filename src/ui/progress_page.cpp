#include "ui/progress_page.h"

#include <algorithm>

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
  m_startText = narrow_utf8(LoadResString("IDS_PROGRESS_START"));
  m_finishText = narrow_utf8(LoadResString("IDS_INSTALL_FINISH"));
  m_preparingText = narrow_utf8(LoadResString("IDS_PREPARECOPY"));
  m_rollbackText = narrow_utf8(LoadResString("IDS_ROLLBACK_PROGRESS"));
  setProgress(0);
}

void ProgressPage::setProgress(int percent) {
  showState(percent == 100 ? m_finishText : m_startText, percent, true);
}

void ProgressPage::setCheckProgress(int percent) { showState(m_preparingText, percent, true); }

void ProgressPage::setRollbackProgress(int percent) { showState(m_rollbackText, percent, false); }

void ProgressPage::setCurrentFile(const WideString& name) {
  // Set only when it changes: each new text makes GTK measure it again.
  if (name == m_currentFile) return;
  m_currentFile = name;
  gtk_label_set_text(GTK_LABEL(m_fileLabel), narrow_utf8(name).c_str());
}

void ProgressPage::showState(const std::string& text, int percent, bool numbered) {
  gtk_label_set_text(GTK_LABEL(m_label), text.c_str());
  // GTK 2 warns about fractions outside 0..1 before it clamps them.
  const int shown = std::clamp(percent, 0, 100);
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(m_bar), shown / 100.0);
  const std::string number = numbered ? std::to_string(shown) + "%" : std::string();
  gtk_progress_bar_set_text(GTK_PROGRESS_BAR(m_bar), number.c_str());
}
