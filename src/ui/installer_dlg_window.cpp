// The wizard window's layout: the fixed 500 x 360 window with its banner,
// icon and buttons, and the buttons of a final page. Part of CInstallerDlg,
// kept apart from the run's flow. Main (GTK) thread only.
#include "ui/installer_dlg.h"

#include "text/languages.h"
#include "ui/button_caption.h"
#include "ui/pictures.h"

namespace {

// Wide enough that the longest caption keeps clear of the focus frame.
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 30;

// A resource text for GTK, which takes UTF-8.
std::string resourceUtf8(const char* key) { return narrow_utf8(LoadResString(key)); }

}  // namespace

GdkPixbuf* CInstallerDlg::createIcon() {
  return gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kIconXpm));
}


GdkPixbuf* CInstallerDlg::createBackImage() {
  return gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(kBannerXpm));
}


void CInstallerDlg::showMainWindow() {
  m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(m_window);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  GdkGeometry hints{};
  hints.min_width = hints.max_width = hints.base_width = m_width;
  hints.min_height = hints.max_height = hints.base_height = m_height;
  hints.win_gravity = GDK_GRAVITY_NORTH_WEST;
  gtk_window_set_geometry_hints(
      window, m_window, &hints,
      static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE | GDK_HINT_BASE_SIZE));
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_MENU);
  m_icon = createIcon();
  gtk_window_set_icon(window, m_icon);

  m_fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(m_window), m_fixed);
  g_signal_connect(m_window, "destroy", G_CALLBACK(on_window_destroy), this);
  g_signal_connect(m_window, "delete-event", G_CALLBACK(on_window_delete), this);
  g_signal_connect(m_window, "key_press_event", G_CALLBACK(gtk_window_key_press_callback), this);
  gtk_window_set_title(window, m_title.c_str());

  GtkWidget* separator = gtk_hseparator_new();
  gtk_widget_set_size_request(separator, m_width - 20, 5);
  gtk_fixed_put(GTK_FIXED(m_fixed), separator, 10, 310);

  const auto addButton = [this](const char* key, int x) {
    GtkWidget* button = gtk_button_new_with_label("");
    gtk_widget_set_size_request(button, kButtonWidth, kButtonHeight);
    set_fitting_caption(button, resourceUtf8(key), kButtonWidth);
    gtk_fixed_put(GTK_FIXED(m_fixed), button, x, 320);
    return button;
  };
  // Cancel at the right margin, Next 10 pixels before it, Back beside Next.
  const int cancelX = m_width - 10 - kButtonWidth;
  m_buttonBack = addButton("IDS_WIZARD_BACK", cancelX - 10 - 2 * kButtonWidth);
  m_buttonNext = addButton("IDS_WIZARD_NEXT", cancelX - 10 - kButtonWidth);
  m_buttonCancel = addButton("IDS_WIZARD_CANCEL", cancelX);
  gtk_widget_set_can_default(m_buttonNext, TRUE);
  gtk_widget_grab_default(m_buttonNext);

  g_signal_connect(m_buttonBack, "clicked", G_CALLBACK(on_buttonPrev_clicked), this);
  g_signal_connect(m_buttonNext, "clicked", G_CALLBACK(on_buttonNext_clicked), this);
  g_signal_connect(m_buttonCancel, "clicked", G_CALLBACK(button_clicked_handler), this);

  gtk_widget_show_all(m_fixed);
  m_banner = createBackImage();
  gtk_widget_show(m_window);
}


void CInstallerDlg::setFinishButtons() {
  gtk_widget_set_sensitive(m_buttonNext, TRUE);
  gtk_widget_set_sensitive(m_buttonCancel, FALSE);
  gtk_widget_hide(m_buttonBack);
  gtk_widget_show(m_buttonNext);
  set_fitting_caption(m_buttonNext, resourceUtf8("IDS_WIZARD_FINISH"), kButtonWidth);
  gtk_widget_grab_default(m_buttonNext);
}
