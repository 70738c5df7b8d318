#include "ui/button_caption.h"

namespace {

// The smallest font size used for a caption, in Pango units.
constexpr int kMinimumFontSize = 7 * PANGO_SCALE;
constexpr int kFontStep = PANGO_SCALE / 2;

int naturalWidth(GtkWidget* button) {
  int width = 0;
  int height = 0;
  gtk_widget_get_size_request(button, &width, &height);
  gtk_widget_set_size_request(button, -1, -1);
  GtkRequisition natural{};
  gtk_widget_size_request(button, &natural);
  gtk_widget_set_size_request(button, width, height);
  return natural.width;
}

}  // namespace

void set_fitting_caption(GtkWidget* button, const std::string& caption, int width) {
  gtk_button_set_label(GTK_BUTTON(button), caption.c_str());
  GtkWidget* label = gtk_bin_get_child(GTK_BIN(button));
  if (!GTK_IS_LABEL(label)) return;
  gtk_widget_modify_font(label, nullptr);
  if (naturalWidth(button) <= width) return;

  PangoFontDescription* font = pango_font_description_copy(gtk_widget_get_style(label)->font_desc);
  int size = pango_font_description_get_size(font);
  while (naturalWidth(button) > width && size - kFontStep >= kMinimumFontSize) {
    size -= kFontStep;
    pango_font_description_set_size(font, size);
    gtk_widget_modify_font(label, font);
  }
  pango_font_description_free(font);
}
