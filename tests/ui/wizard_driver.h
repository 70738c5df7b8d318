// Runs the wizard in the test process: a sandbox for its files, message boxes
// answered as a user would, and actions run from the main loop once their
// condition holds, so that a modal run can be steered. Test (GTK) thread only.
#pragma once

#include <functional>
#include <string>

#include "support/scratch_directory.h"

// A directory in the current one, HOME and TMPDIR from then on, with an
// "xdg-open" first on PATH that appends its arguments as a line to "opened.txt".
class Sandbox : public ScratchDirectory {
 public:
  Sandbox();
  std::string name() const { return path().substr(path().rfind('/') + 1); }
};

// Whether GTK could open a display; from then on every message box is answered
// OK and recorded in g_answeredBoxes as a line "<kind> '<title>' <text>".
bool displayAvailable();
extern std::string g_answeredBoxes;

// Runs `action` once from the main loop when `condition` holds, also while an
// action nests a loop; cancelPostedActions() drops those not yet run.
void postWhen(std::function<bool()> condition, std::function<void()> action);
void cancelPostedActions();
