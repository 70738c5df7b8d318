// Runs the wizard in the test process: a sandbox for its files, message boxes
// answered as a user would, and actions run from the main loop once their
// condition holds, so that a modal run can be steered. Test (GTK) thread only.
#pragma once

#include <functional>
#include <string>

#include "support/scratch_directory.h"

// A directory made in the current one that is HOME and TMPDIR from then on
// (each test makes its own), with an "xdg-open" put first on PATH that
// appends each argument, one a line, to "opened.txt" there.
class Sandbox : public ScratchDirectory {
 public:
  Sandbox();
  std::string name() const { return path().substr(path().rfind('/') + 1); }
};

// True when GTK could open a display (tried once per process). From then on
// every message box is answered with OK and recorded in g_answeredBoxes as a
// line "<kind> '<title>' <text>", the kind being "error", "question" or "plain".
bool displayAvailable();
extern std::string g_answeredBoxes;

// Runs `action` once from the main loop as soon as `condition` holds; an
// action may nest a loop (a modal box, an installation) without holding up
// the others. cancelPostedActions() drops those that have not run.
void postWhen(std::function<bool()> condition, std::function<void()> action);
void cancelPostedActions();
