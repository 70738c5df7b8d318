// Every page and wizard button in every language, laid out as in the wizard's 500 x 360 window.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/dir_select_page.h"
#include "ui/pictures.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"

namespace {

int fontSize(GtkWidget* widget) {
  return pango_font_description_get_size(gtk_widget_get_style(widget)->font_desc);
}

// A line for the widget and each one inside it that is given less room than it or its text asks
// for, lies past the window (a label: past its 10-pixel right margin) or, a label, is not in the
// font size `normalSize`.
std::string faultsOf(GtkWidget* widget, const std::string& where, int normalSize) {
  GtkRequisition asked{};
  gtk_widget_get_child_requisition(widget, &asked);
  GtkAllocation given{};
  gtk_widget_get_allocation(widget, &given);
  const bool isLabel = GTK_IS_LABEL(widget);
  PangoRectangle text{};
  if (isLabel)
    pango_layout_get_pixel_extents(gtk_label_get_layout(GTK_LABEL(widget)), nullptr, &text);
  std::string faults;
  if (given.width < asked.width || given.width < text.width || given.height < asked.height ||
      given.height < text.height || given.x + given.width > (isLabel ? 490 : 500) ||
      given.y + given.height > 360 || (isLabel && fontSize(widget) != normalSize))
    faults = where + ": " + G_OBJECT_TYPE_NAME(widget) + " '" +
             (isLabel ? gtk_label_get_text(GTK_LABEL(widget)) : "") + "' " +
             std::to_string(given.width) + " wide at " + std::to_string(given.x) + ", font " +
             std::to_string(fontSize(widget) * 10 / PANGO_SCALE) + "\n";
  if (!GTK_IS_CONTAINER(widget)) return faults;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* child = children; child != nullptr; child = child->next)
    faults += faultsOf(GTK_WIDGET(child->data), where, normalSize);
  g_list_free(children);
  return faults;
}

// The wizard's 500 x 360 area in a window of its own, with Back, Next, Ready over Next and Cancel
// captioned before they are placed, as the wizard does.
GtkWidget* wizardArea(const std::string (&captions)[4]) {
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, 500, 360);
  gtk_container_add(GTK_CONTAINER(gtk_window_new(GTK_WINDOW_TOPLEVEL)), fixed);
  for (int i = 0; i < 4; ++i) {
    GtkWidget* button = gtk_button_new_with_label("");
    gtk_widget_set_size_request(button, 80, 30);
    gtk_widget_set_can_default(button, i == 1 || i == 2);
    set_fitting_caption(button, captions[i], 80);
    gtk_fixed_put(GTK_FIXED(fixed), button, (i == 0 ? 230 : 310) + 100 * (i / 3), 320);
  }
  return fixed;
}

// Shows the area laid out, then destroys its window and returns the faults found.
std::string faultsShown(GtkWidget* area, const std::string& where, int normalSize) {
  gtk_widget_show_all(gtk_widget_get_toplevel(area));
  for (int pass = 0; pass < 3; ++pass, g_usleep(10 * 1000))
    while (gtk_events_pending()) gtk_main_iteration();
  const std::string faults = faultsOf(area, where, normalSize);
  gtk_widget_destroy(gtk_widget_get_toplevel(area));
  return faults;
}

std::string text(const char* key) { return narrow_lib(LoadResString(key)); }

}  // namespace

TEST(Layout, EveryPageAndCaptionInEveryLanguageFitsItsPlaceAtTheNormalFontSize) {
  if (gtk_init_check(nullptr, nullptr) == FALSE) GTEST_SKIP() << "no display";
  GdkPixbuf* banner = gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kBannerXpm));
  const WideString path = u"templates/" + WideString(60, u'x') + u"/main.xml";
  std::string faults;
  for (const auto& [language, info] : language_table()) {
    set_resource_lang(language);
    // Every page and state at once: they overlap, but each widget is laid out on its own.
    GtkWidget* area = wizardArea({text("IDS_WIZARD_BACK"), text("IDS_WIZARD_NEXT"),
                                  text("IDS_WIZARD_FINISH"), text("IDS_WIZARD_CANCEL")});
    MessagePage welcome(area, banner, LoadResString("IDS_WELCOME_TITLE") + u" Orbe (Orbe Ltd).");
    MessagePage error(area, banner,
                      LoadResString("IDS_ERROR_FINISH") + u"\n" + path + u": " +
                          LoadResString("IDS_REASON_LINK"));
    SuccessFinalPage success(area, banner, LoadResString("IDS_SUCCESS_FINISH"), true);
    DirSelectPage directory(area, banner);
    ProgressPage copying(area, 480), copied(area, 480), checking(area, 480), restoring(area, 480);
    copying.setProgress(50);
    copying.setCurrentFile(path);
    copied.setProgress(100);
    checking.setCheckProgress(5);
    restoring.setRollbackProgress(5);
    faults += faultsShown(area, info.code, fontSize(area));
  }
  set_resource_lang(kLangEnglish);
  g_object_unref(banner);
  EXPECT_EQ(faults, "");

  // The last resort for a caption too wide even so: one smaller font size, at which it fits, for
  // every wizard button.
  GtkWidget* area = wizardArea({"OK", "Болдырмау", "OK", "OK"});
  GList* buttons = gtk_container_get_children(GTK_CONTAINER(area));
  const int smallSize = fontSize(gtk_bin_get_child(GTK_BIN(buttons->data)));
  g_list_free(buttons);
  EXPECT_LT(smallSize, fontSize(area));
  EXPECT_EQ(faultsShown(area, "smaller", smallSize), "");
}
