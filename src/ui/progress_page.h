// The page shown while the worker installs: a status text and a progress bar.
// Updated by the dialog's polling loop. Main (GTK) thread only.
#pragma once

#include <string>

#include "ui/wizard_dialog_page.h"

class ProgressPage : public WizardDialogPage {
 public:
  ProgressPage(GtkWidget* parent, int barWidth);
  ~ProgressPage() = default;

  // 100 shows the finish text, anything else the start text; the bar shows
  // percent / 100 (GTK keeps it within 0 to 1).
  void setProgress(int percent);
  // The preparing text over the bar at percent / 100: the kit's check.
  void setCheckProgress(int percent);
  GtkWidget* label() const { return m_label; }
  GtkWidget* bar() const { return m_bar; }

 private:
  void showState(const std::string& text, int percent);

  GtkWidget* m_label;
  GtkWidget* m_bar;
  std::string m_startText;
  std::string m_finishText;
  std::string m_preparingText;
};
