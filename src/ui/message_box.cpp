#include "ui/message_box.h"

#include <gtk/gtk.h>

#include <string>

int messageBox(const CWnd* parent, const WideString& text, uint32_t flags) {
  GtkMessageType type = GTK_MESSAGE_OTHER;
  switch ((flags >> 8) & 0xFF) {
    case kBoxError >> 8:
      type = GTK_MESSAGE_ERROR;
      break;
    case kBoxQuestion >> 8:
      type = GTK_MESSAGE_QUESTION;
      break;
    default:
      break;
  }
  const GtkButtonsType buttons = (flags & 0xFF) == kBoxYesNo ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK;

  const std::string narrowText = narrow_lib(text);
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, buttons, "%s", narrowText.c_str());
  // Centred on the screen, where the wizard's window is, whatever the
  // window manager (or its absence) would choose.
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  if (parent != nullptr) {
    gtk_window_set_title(GTK_WINDOW(dialog), narrow_lib(parent->getWindowTitle()).c_str());
  }
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  switch (response) {
    case GTK_RESPONSE_YES:
      return kAnswerYes;
    case GTK_RESPONSE_NO:
      return kAnswerNo;
    case GTK_RESPONSE_OK:
      return kAnswerOk;
    default:
      return kAnswerNone;
  }
}
