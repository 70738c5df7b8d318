#include "ui/message_page.h"

MessagePage::MessagePage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message)
    : WizardDialogPage(parent) {
  m_image = addBanner(banner);
  m_label = createMainAreaLabel(parent);
  // A path has no blanks to wrap at: it is broken between characters.
  gtk_label_set_line_wrap_mode(GTK_LABEL(m_label), PANGO_WRAP_WORD_CHAR);
  m_widgets.push_back(m_label);
  setMessage(message);
}

void MessagePage::setMessage(const WideString& message) {
  gtk_label_set_text(GTK_LABEL(m_label), narrow_utf8(message).c_str());
}
