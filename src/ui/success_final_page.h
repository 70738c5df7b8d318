// The final page after a good installation: the message and, when the kit's
// description document was installed, a check box that asks for it to be
// opened. Main (GTK) thread only.
#pragma once

#include "ui/message_page.h"

class SuccessFinalPage : public MessagePage {
 public:
  // Without `offerDescription` the page has no check box.
  SuccessFinalPage(GtkWidget* parent, GdkPixbuf* banner, const WideString& message,
                   bool offerDescription = true);
  ~SuccessFinalPage() = default;

  // False when the page has no check box.
  bool isShowReadmeChecked() const;
  // Null when the page has no check box.
  GtkWidget* checkBox() const { return m_checkBox; }

 private:
  GtkWidget* m_checkBox = nullptr;
};
