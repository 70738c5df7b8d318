// The wizard's states and the pages they show. Plain values; any thread.
#pragma once

enum class WizardState {
  kNone = 0,        // before the first page
  kWelcome = 1,     // welcome page
  kDirectory = 2,   // template directory page
  kInstalling = 3,  // progress page
  kSuccess = 4,     // final page after a good installation
  kError = 5,       // final page after a failed installation
  kCancelled = 6,   // final page after the user cancelled a running installation
};
