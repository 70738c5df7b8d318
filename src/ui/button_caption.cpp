#include "ui/button_caption.h"

#include <string>

#include "text/languages.h"

namespace {

// The wizard's buttons without the blank ring inside their frame and around
// the focus line: two pixels a side that the longer captions need.
constexpr char kWizardButtonName[] = "orb-wizard-button";
constexpr char kWizardButtonStyle[] =
    "style \"orb-wizard-button\" {\n"
    "  GtkButton::inner-border = {0, 0, 0, 0}\n"
    "  GtkWidget::focus-padding = 0\n"
    "}\n"
    "widget \"*orb-wizard-button\" style \"orb-wizard-button\"\n";

// Where a wizard button keeps the width its caption must fit.
constexpr char kCaptionWidthKey[] = "orb-caption-width";

// The smallest font size used for a caption, in Pango units.
constexpr int kMinimumFontSize = 7 * PANGO_SCALE;
constexpr int kFontStep = PANGO_SCALE / 2;

void parseWizardButtonStyleOnce() {
  static bool parsed = false;
  if (!parsed) gtk_rc_parse_string(kWizardButtonStyle);
  parsed = true;
}

int naturalWidth(GtkWidget* button) {
  // The caption's font may have changed while GTK did not yet count the
  // button as in a window, which leaves its old size standing.
  gtk_widget_queue_resize_no_redraw(gtk_bin_get_child(GTK_BIN(button)));
  int width = 0;
  int height = 0;
  gtk_widget_get_size_request(button, &width, &height);
  gtk_widget_set_size_request(button, -1, -1);
  GtkRequisition natural{};
  gtk_widget_size_request(button, &natural);
  gtk_widget_set_size_request(button, width, height);
  return natural.width;
}

// Draws the caption of every wizard button, now and later, in `font`. The
// button being fitted is named, as its container may not list it yet.
void setCaptionFont(GtkWidget* button, const PangoFontDescription* font) {
  gchar* name = pango_font_description_to_string(font);
  const std::string style = "style \"orb-wizard-caption\" { font_name = \"" + std::string(name) +
                            "\" }\nwidget \"*orb-wizard-button.GtkLabel\" style "
                            "\"orb-wizard-caption\"\n";
  g_free(name);
  gtk_rc_parse_string(style.c_str());
  gtk_rc_reset_styles(gtk_settings_get_default());
  gtk_widget_reset_rc_styles(button);
}

// Shrinks the font of every wizard button's caption while this button's caption
// is wider than the width it was given.
void fitCaption(GtkWidget* button) {
  const int width = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), kCaptionWidthKey));
  GtkWidget* label = gtk_bin_get_child(GTK_BIN(button));
  if (!GTK_IS_LABEL(label) || naturalWidth(button) <= width) return;

  // The last resort: a smaller font, for all the wizard's buttons alike.
  PangoFontDescription* font = pango_font_description_copy(gtk_widget_get_style(label)->font_desc);
  int size = pango_font_description_get_size(font);
  while (naturalWidth(button) > width && size - kFontStep >= kMinimumFontSize) {
    size -= kFontStep;
    pango_font_description_set_size(font, size);
    setCaptionFont(button, font);
  }
  pango_font_description_free(font);
}

// A button gets the wizard's style only once it is in a window: its caption is
// measured then.
void onHierarchyChanged(GtkWidget* button, GtkWidget*, gpointer) {
  if (!gtk_widget_has_screen(button)) return;
  gtk_widget_reset_rc_styles(button);
  fitCaption(button);
}

}  // namespace

void set_fitting_caption(GtkWidget* button, const std::string& caption, int width) {
  parseWizardButtonStyleOnce();
  if (g_object_get_data(G_OBJECT(button), kCaptionWidthKey) == nullptr)
    g_signal_connect(button, "hierarchy-changed", G_CALLBACK(onHierarchyChanged), nullptr);
  g_object_set_data(G_OBJECT(button), kCaptionWidthKey, GINT_TO_POINTER(width));
  gtk_widget_set_name(button, kWizardButtonName);
  gtk_button_set_label(GTK_BUTTON(button), caption.c_str());
  if (gtk_widget_has_screen(button)) fitCaption(button);
}

void add_dialog_button(GtkWidget* dialog, const char* captionKey, gint response) {
  GtkWidget* button = gtk_button_new_with_label(narrow_utf8(LoadResString(captionKey)).c_str());
  gtk_widget_set_can_default(button, TRUE);
  gtk_widget_show(button);
  gtk_dialog_add_action_widget(GTK_DIALOG(dialog), button, response);
}
