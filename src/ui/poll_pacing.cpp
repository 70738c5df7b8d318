#include "ui/poll_pacing.h"

#include <gtk/gtk.h>

void pump_ready_events_and_pause() {
  // Bounded, so that sources that keep re-arming cannot hold the loop.
  for (int i = 0; i < 200 && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
  g_usleep(kPollPauseMicroseconds);
}
