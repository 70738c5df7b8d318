#include "ui/message_box.h"

#include <gtk/gtk.h>

#include <string>

#include "text/languages.h"
#include "ui/button_caption.h"

namespace {

const volatile std::sig_atomic_t* g_closeFlag = nullptr;

// How often a waiting box looks at the close flag.
constexpr guint kCloseCheckMilliseconds = 100;

struct BoxCloser {
  GtkWidget* dialog;
  bool closed;
};

gboolean closeWhenFlagged(gpointer data) {
  auto* closer = static_cast<BoxCloser*>(data);
  if (*g_closeFlag == 0) return TRUE;
  closer->closed = true;
  gtk_dialog_response(GTK_DIALOG(closer->dialog), GTK_RESPONSE_DELETE_EVENT);
  return FALSE;
}

}  // namespace

void close_message_boxes_when(const volatile std::sig_atomic_t* flag) { g_closeFlag = flag; }

int messageBox(const CWnd* parent, const WideString& text, uint32_t flags) {
  if (g_closeFlag != nullptr && *g_closeFlag != 0) return kAnswerNone;
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

  const std::string narrowText = narrow_utf8(text);
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, GTK_BUTTONS_NONE,
                                             "%s", narrowText.c_str());
  // The buttons, their order and answers of GTK's own Yes/No and OK sets.
  if ((flags & 0xFF) == kBoxYesNo) {
    add_dialog_button(dialog, "IDS_BOX_NO", GTK_RESPONSE_NO);
    add_dialog_button(dialog, "IDS_BOX_YES", GTK_RESPONSE_YES);
    gtk_dialog_set_alternative_button_order(GTK_DIALOG(dialog), GTK_RESPONSE_YES, GTK_RESPONSE_NO,
                                            -1);
  } else {
    add_dialog_button(dialog, "IDS_BOX_OK", GTK_RESPONSE_OK);
  }
  // Centred on the screen, where the wizard's window is, whatever the
  // window manager (or its absence) would choose.
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  if (parent != nullptr) {
    gtk_window_set_title(GTK_WINDOW(dialog), narrow_utf8(parent->getWindowTitle()).c_str());
  }
  // Its own source, as a box opened from another source's callback blocks
  // that source until it is answered.
  BoxCloser closer{dialog, false};
  const guint closeCheck =
      g_closeFlag == nullptr
          ? 0
          : gdk_threads_add_timeout(kCloseCheckMilliseconds, closeWhenFlagged, &closer);
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  if (closeCheck != 0 && !closer.closed) g_source_remove(closeCheck);
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
