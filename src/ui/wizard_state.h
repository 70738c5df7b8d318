// The wizard's states and the pages they show, and the exit code each leaves.
// Plain values; any thread.
#pragma once

#include "ui/exit_code.h"

enum class WizardState {
  kNone = 0,        // before the first page
  kWelcome = 1,     // welcome page
  kDirectory = 2,   // template directory page
  kInstalling = 3,  // progress page
  kSuccess = 4,     // final page after a good installation
  kError = 5,       // final page after a failed installation
  kCancelled = 6,   // final page after the user cancelled a running installation
};

// The exit code of a run that ended in `state`: an installation, a failure,
// or a cancel (also on the first pages, before anything was installed).
inline int exit_code_of(WizardState state) {
  switch (state) {
    case WizardState::kSuccess:
      return kExitSuccess;
    case WizardState::kWelcome:
    case WizardState::kDirectory:
    case WizardState::kCancelled:
      return kExitCancelled;
    default:
      return kExitFailure;
  }
}

// The final state of a run that ended with `exitCode`.
inline WizardState state_of_exit_code(int exitCode) {
  return exitCode == kExitSuccess     ? WizardState::kSuccess
         : exitCode == kExitCancelled ? WizardState::kCancelled
                                      : WizardState::kError;
}
