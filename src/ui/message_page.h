// A wizard page with the banner and one wrapped message: the welcome, error
// and cancelled pages. Main (GTK) thread only.
#pragma once

#include "text/wide_string.h"
#include "ui/wizard_dialog_page.h"

class MessagePage : public WizardDialogPage {
 public:
  MessagePage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message);
  ~MessagePage() = default;

  void setMessage(const WideString& message);
  GtkWidget* label() const { return m_label; }

 private:
  GtkWidget* m_image;
  GtkWidget* m_label;
};
