#include "ui/success_final_page.h"

#include "text/languages.h"
#include "ui/wizard_dialog_page.h"

namespace {

// The check mark and its spacing before the caption.
constexpr int kCheckIndicatorWidth = 24;

}  // namespace

SuccessFinalPage::SuccessFinalPage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message,
                                   bool offerDescription)
    : MessagePage(parent, banner, message) {
  if (!offerDescription) return;
  m_checkBox =
      gtk_check_button_new_with_label(narrow_utf8(LoadResString("IDS_SUCCESS_OPENDESCR")).c_str());
  m_widgets.push_back(m_checkBox);
  // A caption longer than the main area wraps instead of running past the
  // window's edge; the indicator takes the rest of the width.
  GtkWidget* caption = gtk_bin_get_child(GTK_BIN(m_checkBox));
  gtk_label_set_line_wrap(GTK_LABEL(caption), TRUE);
  gtk_widget_set_size_request(caption, kMainAreaWidth - kCheckIndicatorWidth, -1);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_checkBox), TRUE);
  gtk_fixed_put(GTK_FIXED(parent), m_checkBox, 170, 170);
}

bool SuccessFinalPage::isShowReadmeChecked() const {
  return m_checkBox != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(m_checkBox));
}
