#include "ui/success_final_page.h"

#include "text/languages.h"

SuccessFinalPage::SuccessFinalPage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message,
                                   bool offerDescription)
    : MessagePage(parent, banner, message) {
  if (!offerDescription) return;
  m_checkBox =
      gtk_check_button_new_with_label(narrow_lib(LoadResString("IDS_SUCCESS_OPENDESCR")).c_str());
  m_widgets.push_back(m_checkBox);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_checkBox), TRUE);
  gtk_fixed_put(GTK_FIXED(parent), m_checkBox, 170, 170);
}

bool SuccessFinalPage::isShowReadmeChecked() const {
  return m_checkBox != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(m_checkBox));
}
