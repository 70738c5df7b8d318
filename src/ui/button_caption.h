// Button captions in the interface language: the wizard's fixed-size buttons
// keep their caption whole at the dialog's font size, and dialogs get buttons
// captioned from the resource texts instead of GTK's stock buttons. Main (GTK)
// thread only.
#pragma once

#include <gtk/gtk.h>

#include <string>

// Sets the caption of a wizard button `width` pixels wide. The button is drawn
// with little inner padding, so that the captions of the twelve languages fit
// at the normal font size; a caption that still does not fit (measured once the
// button is in a window) makes the font of every wizard button's caption
// smaller, until it fits or reaches 7 points.
void set_fitting_caption(GtkWidget* button, const std::string& caption, int width);

// Adds a button captioned with the text of `captionKey` to the dialog's action
// area, answering `response` and able to be its default, as a stock button would.
void add_dialog_button(GtkWidget* dialog, const char* captionKey, gint response);
