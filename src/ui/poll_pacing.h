// Keeps the interface alive while the main thread waits for the worker:
// handles the GTK events that are ready, never waiting for one, then pauses
// briefly so that the waiting loop uses little processor time. Main (GTK)
// thread only.
#pragma once

// Pause between two passes of a waiting loop.
constexpr unsigned int kPollPauseMicroseconds = 10000;

void pump_ready_events_and_pause();
