// The final page after a good installation: the message and a check box that
// asks for the kit's description document to be opened. Main (GTK) thread only.
#pragma once

#include "ui/message_page.h"

class SuccessFinalPage : public MessagePage {
 public:
  SuccessFinalPage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message);
  ~SuccessFinalPage() = default;

  bool isShowReadmeChecked() const;
  GtkWidget* checkBox() const { return m_checkBox; }

 private:
  GtkWidget* m_checkBox;
};
