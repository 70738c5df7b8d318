#include "ui/wizard_dialog_page.h"

void WizardDialogPage::show() {
  for (GtkWidget* widget : m_widgets) gtk_widget_show(widget);
}

void WizardDialogPage::hide() {
  for (GtkWidget* widget : m_widgets) gtk_widget_hide(widget);
}

void WizardDialogPage::place(GtkWidget* widget, int x, int y) {
  gtk_fixed_put(GTK_FIXED(m_parent), widget, x, y);
  m_widgets.push_back(widget);
}

GtkWidget* WizardDialogPage::addBanner(GdkPixbuf* banner) {
  GtkWidget* image = gtk_image_new_from_pixbuf(banner);
  gtk_container_add(GTK_CONTAINER(m_parent), image);
  m_widgets.push_back(image);
  return image;
}

GtkWidget* createMainAreaLabel(GtkWidget* parent) {
  GtkWidget* label = gtk_label_new(nullptr);
  gtk_widget_set_size_request(label, kMainAreaWidth, 250);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  // A path or name longer than a line is broken between characters.
  gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
  gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.0f);
  gtk_fixed_put(GTK_FIXED(parent), label, 170, 10);
  return label;
}
