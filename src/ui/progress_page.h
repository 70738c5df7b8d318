// The page shown while the worker installs: a status text, a progress bar with
// the percentage done on it and under it the file at hand. Updated by the dialog's polling loop. Main (GTK)
// thread only.
#pragma once

#include <string>

#include "text/wide_string.h"
#include "ui/wizard_dialog_page.h"

class ProgressPage : public WizardDialogPage {
 public:
  ProgressPage(GtkWidget* parent, int barWidth);
  ~ProgressPage() = default;

  // 100 shows the finish text, anything else the start text; the bar shows
  // percent / 100 and the percentage on it, both kept within 0 to 100.
  void setProgress(int percent);
  // The preparing text over the bar at percent / 100 and its percentage: the
  // kit's check.
  void setCheckProgress(int percent);
  // The rollback text over the bar at percent / 100, without a percentage:
  // the previous version is being put back.
  void setRollbackProgress(int percent);
  // The file at hand, on one line shortened in the middle; "" for none.
  void setCurrentFile(const WideString& name);
  GtkWidget* label() const { return m_label; }
  GtkWidget* bar() const { return m_bar; }
  GtkWidget* fileLabel() const { return m_fileLabel; }

 private:
  void showState(const std::string& text, int percent, bool numbered);

  GtkWidget* m_label;
  GtkWidget* m_bar;
  GtkWidget* m_fileLabel;
  std::string m_startText;
  std::string m_finishText;
  std::string m_preparingText;
  std::string m_rollbackText;
  WideString m_currentFile;
};
