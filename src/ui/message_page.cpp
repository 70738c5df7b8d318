#include "ui/message_page.h"

MessagePage::MessagePage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message)
    : WizardDialogPage(parent) {
  m_image = addBanner(banner);
  m_label = createMainAreaLabel(parent);
  m_widgets.push_back(m_label);
  setMessage(message);
}

void MessagePage::setMessage(const WideString& message) {
  gtk_label_set_text(GTK_LABEL(m_label), narrow_lib(message).c_str());
}
