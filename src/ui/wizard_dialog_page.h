// Base of the wizard's pages: a page is a set of widgets placed at fixed
// coordinates in the window's fixed container, created hidden and shown or
// hidden together by the dialog. Main (GTK) thread only.
#pragma once

#include <gtk/gtk.h>

#include <vector>

class WizardDialogPage {
 public:
  explicit WizardDialogPage(GtkWidget* parent) : m_parent(parent) {}
  WizardDialogPage(const WizardDialogPage&) = delete;
  WizardDialogPage& operator=(const WizardDialogPage&) = delete;

  // Called by the dialog after it has shown the page's widgets.
  virtual void onShow() {}

  void show();
  void hide();
  const std::vector<GtkWidget*>& widgets() const { return m_widgets; }

 protected:
  ~WizardDialogPage() = default;
  // Puts the widget at (x, y) in the container and into the page's list.
  void place(GtkWidget* widget, int x, int y);
  // The banner at the container's origin, as the first widget of the page.
  GtkWidget* addBanner(GdkPixbuf* banner);

  GtkWidget* m_parent;
  std::vector<GtkWidget*> m_widgets;
};

// Width of the page's main text area: from x = 170 to the 10-pixel margin
// that the window keeps on its right, as its buttons and separator do.
constexpr int kMainAreaWidth = 320;

// The page's main text area: an empty 320 x 250 label at (170, 10) that wraps
// between words, and inside a word too long for a line; text at the top left,
// not shown.
GtkWidget* createMainAreaLabel(GtkWidget* parent);
