// The wizard pages on their own, in a real window under X: geometry, texts,
// the progress page at its telling values, the success page's check box, the
// directory page's entry and its folder chooser, and the built-in pictures.
#include <gtest/gtest.h>

#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/dir_select_page.h"
#include "ui/message_page.h"
#include "ui/pictures.h"
#include "ui/progress_page.h"
#include "ui/success_final_page.h"
#include "ui_test_support.h"

namespace {

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!displayAvailable()) GTEST_SKIP() << "no display";
    set_resource_lang(kLangEnglish);
    m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(m_window), 500, 360);
    m_fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(m_window), m_fixed);
    gtk_widget_show_all(m_window);
    m_banner = gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kBannerXpm));
  }
  void TearDown() override {
    cancelPostedActions();
    if (m_window != nullptr) gtk_widget_destroy(m_window);
    if (m_banner != nullptr) g_object_unref(m_banner);
  }

  GtkWidget* m_window = nullptr;
  GtkWidget* m_fixed = nullptr;
  GdkPixbuf* m_banner = nullptr;
};

void expectAt(GtkWidget* widget, int x, int y) {
  int actualX = -1;
  int actualY = -1;
  childPosition(widget, actualX, actualY);
  EXPECT_EQ(actualX, x);
  EXPECT_EQ(actualY, y);
}

void expectRequested(GtkWidget* widget, int width, int height) {
  int actualWidth = 0;
  int actualHeight = 0;
  gtk_widget_get_size_request(widget, &actualWidth, &actualHeight);
  EXPECT_EQ(actualWidth, width);
  EXPECT_EQ(actualHeight, height);
}

}  // namespace

TEST(Pictures, IconAndBannerHaveTheirSizesAndTransparency) {
  if (!displayAvailable()) GTEST_SKIP() << "no display";
  GdkPixbuf* icon = gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kIconXpm));
  GdkPixbuf* banner = gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kBannerXpm));
  ASSERT_NE(icon, nullptr);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(icon), 256);
  EXPECT_EQ(gdk_pixbuf_get_height(icon), 256);
  EXPECT_TRUE(gdk_pixbuf_get_has_alpha(icon));
  EXPECT_EQ(gdk_pixbuf_get_width(banner), 158);
  EXPECT_EQ(gdk_pixbuf_get_height(banner), 286);
  EXPECT_FALSE(gdk_pixbuf_get_has_alpha(banner));
  // "W H colours 2": 256 colours, two characters per pixel; the icon's
  // corner is transparent and its middle is not.
  EXPECT_STREQ(kIconXpm[0], "256 256 256 2");
  EXPECT_STREQ(kBannerXpm[0], "158 286 256 2");
  const guchar* pixels = gdk_pixbuf_get_pixels(icon);
  const int stride = gdk_pixbuf_get_rowstride(icon);
  EXPECT_EQ(pixels[3], 0);
  EXPECT_EQ(pixels[128 * stride + 128 * 4 + 3], 255);
  g_object_unref(icon);
  g_object_unref(banner);
}

TEST_F(PagesTest, MainAreaLabelIsHiddenWrappingAndTopLeft) {
  GtkWidget* label = createMainAreaLabel(m_fixed);
  expectAt(label, 170, 10);
  expectRequested(label, 330, 250);
  EXPECT_TRUE(gtk_label_get_line_wrap(GTK_LABEL(label)));
  gfloat x = 1;
  gfloat y = 1;
  gtk_misc_get_alignment(GTK_MISC(label), &x, &y);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 0.0f);
  EXPECT_FALSE(isVisible(label));
  EXPECT_EQ(labelText(label), "");
}

TEST_F(PagesTest, MessagePagesShowTheirTextAndSuccessAsksForTheDescription) {
  const WideString longText =
      u"A message long enough to need more than one line in the 330 pixel wide label, "
      u"with 100% literal percent signs.";
  MessagePage page(m_fixed, m_banner, longText);
  ASSERT_EQ(page.widgets().size(), 2u);
  EXPECT_TRUE(GTK_IS_IMAGE(page.widgets()[0]));
  EXPECT_EQ(page.widgets()[1], page.label());
  EXPECT_EQ(labelText(page.label()), narrow_lib(longText));
  for (GtkWidget* widget : page.widgets()) EXPECT_FALSE(isVisible(widget));
  page.show();
  GtkAllocation image{};
  pumpUntil([&] {
    gtk_widget_get_allocation(page.widgets()[0], &image);
    return image.width > 1;
  });
  EXPECT_EQ(image.x, 0);
  EXPECT_EQ(image.y, 0);
  EXPECT_EQ(image.width, 158);
  EXPECT_EQ(image.height, 286);
  // Wrapped: the label keeps its 330 pixels and needs more than one line.
  GtkAllocation label{};
  gtk_widget_get_allocation(page.label(), &label);
  EXPECT_EQ(label.width, 330);
  PangoLayout* layout = gtk_label_get_layout(GTK_LABEL(page.label()));
  EXPECT_GT(pango_layout_get_line_count(layout), 1);
  page.setMessage(u"Changed");
  EXPECT_EQ(labelText(page.label()), "Changed");
  page.hide();
  for (GtkWidget* widget : page.widgets()) EXPECT_FALSE(isVisible(widget));

  SuccessFinalPage success(m_fixed, m_banner, u"Done");
  ASSERT_EQ(success.widgets().size(), 3u);
  EXPECT_EQ(success.widgets()[2], success.checkBox());
  expectAt(success.checkBox(), 170, 170);
  EXPECT_EQ(buttonCaption(success.checkBox()), "Open description of distribution package");
  EXPECT_TRUE(success.isShowReadmeChecked());
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(success.checkBox()), FALSE);
  EXPECT_FALSE(success.isShowReadmeChecked());
}

TEST_F(PagesTest, ProgressPageTextAndBarAtTellingValues) {
  ProgressPage page(m_fixed, 480);
  ASSERT_EQ(page.widgets().size(), 2u);
  expectAt(page.label(), 10, 130);
  expectAt(page.bar(), 10, 150);
  expectRequested(page.bar(), 480, 20);
  const auto fraction = [&] { return gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(page.bar())); };

  EXPECT_EQ(labelText(page.label()), "Files being copied...");
  EXPECT_DOUBLE_EQ(fraction(), 0.0);
  page.setProgress(57);
  EXPECT_EQ(labelText(page.label()), "Files being copied...");
  EXPECT_DOUBLE_EQ(fraction(), 0.57);
  page.setProgress(100);
  EXPECT_EQ(labelText(page.label()), "Copying complete...");
  EXPECT_DOUBLE_EQ(fraction(), 1.0);
  page.setProgress(120);
  EXPECT_EQ(labelText(page.label()), "Files being copied...");
  EXPECT_DOUBLE_EQ(fraction(), 1.0);
  page.setProgress(0);
  EXPECT_DOUBLE_EQ(fraction(), 0.0);
}

TEST_F(PagesTest, DirectoryPageLayoutAndPath) {
  DirSelectPage page(m_fixed, m_banner);
  const auto& widgets = page.widgets();
  ASSERT_EQ(widgets.size(), 5u);
  EXPECT_TRUE(GTK_IS_IMAGE(widgets[0]));
  expectAt(widgets[1], 170, 10);
  EXPECT_EQ(labelText(widgets[1]),
            "Specify path to template directory. The installation program will install "
            "templates and configuration files to the specified directory.");
  expectAt(widgets[2], 170, 255);
  EXPECT_EQ(labelText(widgets[2]), "Template directory:");
  EXPECT_EQ(widgets[3], page.entry());
  expectAt(page.entry(), 170, 275);
  expectRequested(page.entry(), 280, 30);
  EXPECT_EQ(widgets[4], page.browseButton());
  expectAt(page.browseButton(), 460, 275);
  expectRequested(page.browseButton(), 30, 30);
  EXPECT_EQ(buttonCaption(page.browseButton()), "...");

  EXPECT_EQ(page.getPath(), u"");
  page.setPath(WideString(u"/home/\u0434\u043e\u043a/t"));
  EXPECT_EQ(page.getPath(), u"/home/\u0434\u043e\u043a/t");
  page.setPath(std::string("/narrow"));
  EXPECT_EQ(page.getPath(), u"/narrow");
}

TEST_F(PagesTest, FolderChooserReplacesTheEntryOnlyWhenAccepted) {
  Sandbox sandbox;
  const std::string chosen = sandbox / "chosen folder";
  makeDirectories(chosen);
  DirSelectPage page(m_fixed, m_banner);
  page.show();
  page.setPath(std::string("typed by hand"));

  // A chooser that is cancelled keeps the typed text.
  bool answered = false;
  const auto chooser = []() -> GtkWidget* {
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
      if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data)))
        found = GTK_WIDGET(item->data);
    }
    g_list_free(windows);
    return found;
  };
  postWhen([&] { return chooser() != nullptr; },
           [&] {
             GtkWidget* dialog = chooser();
             EXPECT_EQ(gtk_file_chooser_get_action(GTK_FILE_CHOOSER(dialog)),
                       GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
             EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialog)));
             gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
             answered = true;
           });
  postClick(page.browseButton());
  ASSERT_TRUE(pumpUntil([&] { return answered && chooser() == nullptr; }));
  EXPECT_EQ(page.getPath(), u"typed by hand");

  // An accepted choice replaces the whole text.
  answered = false;
  bool selected = false;
  postWhen([&] { return chooser() != nullptr; },
           [&] {
             gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser()), chosen.c_str());
             selected = true;
           });
  postWhen(
      [&] {
        if (!selected) return false;
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser()));
        const bool ready = name != nullptr && chosen == name;
        g_free(name);
        return ready;
      },
      [&] {
        gtk_dialog_response(GTK_DIALOG(chooser()), GTK_RESPONSE_ACCEPT);
        answered = true;
      });
  button_clicked_handler(page.browseButton(), nullptr);  // no page: nothing happens
  EXPECT_EQ(chooser(), nullptr);
  postClick(page.browseButton());
  ASSERT_TRUE(pumpUntil([&] { return answered && chooser() == nullptr; }));
  EXPECT_EQ(page.getPath(), widen_lib(chosen));
}

TEST_F(PagesTest, LongButtonCaptionsShrinkToFitAndShortOnesKeepTheirFont) {
  GtkWidget* button = gtk_button_new_with_label("");
  gtk_widget_set_size_request(button, 80, 30);
  gtk_fixed_put(GTK_FIXED(m_fixed), button, 0, 0);
  const auto natural = [&] {
    gtk_widget_set_size_request(button, -1, -1);
    GtkRequisition requisition{};
    gtk_widget_size_request(button, &requisition);
    gtk_widget_set_size_request(button, 80, 30);
    return requisition.width;
  };
  GtkWidget* label = nullptr;
  const auto fontSize = [&] {
    label = gtk_bin_get_child(GTK_BIN(button));
    return pango_font_description_get_size(gtk_widget_get_style(label)->font_desc);
  };

  set_fitting_caption(button, "Cancel", 80);
  const int normalSize = fontSize();
  EXPECT_LE(natural(), 80);
  // A Kazakh caption that needs more than 80 pixels at the normal size.
  set_fitting_caption(button,
                      "\xd0\x91\xd0\xbe\xd0\xbb\xd0\xb4\xd1\x8b\xd1\x80\xd0\xbc\xd0\xb0\xd1\x83 "
                      "\xd0\xb5\xd1\x82\xd1\x83",
                      80);
  EXPECT_EQ(buttonCaption(button),
            "\xd0\x91\xd0\xbe\xd0\xbb\xd0\xb4\xd1\x8b\xd1\x80\xd0\xbc\xd0\xb0\xd1\x83 "
            "\xd0\xb5\xd1\x82\xd1\x83");
  EXPECT_LT(fontSize(), normalSize);
  EXPECT_GE(fontSize(), 7 * PANGO_SCALE);
  // Back to a short caption: the normal font again.
  set_fitting_caption(button, "OK", 80);
  EXPECT_EQ(fontSize(), normalSize);
  EXPECT_LE(natural(), 80);
}
