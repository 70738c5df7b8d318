// Process exit codes of the setup program, as unattended rollouts see them.
// Plain constants; any thread.
#pragma once

// The installation was made (or there was nothing left to do).
constexpr int kExitSuccess = 0;
// The installation could not be made or failed: missing or damaged kit, too
// little space, an installation error, no display for an interactive run.
constexpr int kExitFailure = 1;
// The user cancelled; the template directory is as it was.
constexpr int kExitCancelled = 2;
