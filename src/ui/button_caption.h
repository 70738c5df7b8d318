// Keeps a button's caption readable inside the fixed size the wizard gives
// its buttons: a caption too wide for the button (long in some languages) is
// drawn in a smaller font instead of being cut. Main (GTK) thread only.
#pragma once

#include <gtk/gtk.h>

#include <string>

// Sets the caption and, when it does not fit `width` pixels, shrinks its font
// until it does (down to a legible minimum).
void set_fitting_caption(GtkWidget* button, const std::string& caption, int width);
