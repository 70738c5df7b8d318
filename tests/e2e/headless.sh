#!/bin/sh
# Runs without any display. Unattended (-S), the installation goes on without
# windows, with its messages and progress on standard error and the wizard's
# exit codes: 0 installed; 1 for a missing, damaged or cut kit or no usable
# directory, leaving everything as it was; 2 after an interrupt, rolled back
# first. Without -S the program says that it needs a display and ends with 1.
# After a kill -9 the next start undoes the installation, even without a kit.
. "$(dirname "$0")/lib.sh"
e2e_init
unset DISPLAY
mkdir "$E2E_DIR/missing" "$E2E_DIR/garbage" "$E2E_DIR/cut"
head -c 4096 /dev/urandom > "$E2E_DIR/garbage/orbp8.pkd"
head -c $(($(stat -c %s "$E2E_DIR/kit/orbp8.pkd") * 3 / 4)) "$E2E_DIR/kit/orbp8.pkd" > "$E2E_DIR/cut/orbp8.pkd"
make_big_kit
default="$HOME/.orbp8/Orbe/orbp8/tmplts"

# run KIT-DIR CODE TEXT ARGS...: setup ends with CODE, TEXT on standard error.
run() {
  dir=$1 code=$2 text=$3
  shift 3
  SETUP_STATUS=0
  (cd "$E2E_DIR/$dir" && exec "$SETUP" usecwd . "$@") > "$LOG" 2>&1 < /dev/null || SETUP_STATUS=$?
  expect_exit "$code" "$dir $*"
  grep -qF "$text" "$LOG" || { cat "$LOG" >&2; fail "$dir $*: no \"$text\""; }
}

run kit 1 "no display available"
run missing 1 "Distribution kit file orbp8.pkd not found." -S
run garbage 1 "corrupted or not designed for this installation program" -S
run cut 1 "Template directory has not been changed." -S
[ -z "$(find "$HOME" -type f)" ] || fail "left by the refused runs: $(find "$HOME" -type f)"
run kit 0 "Configuration installed successfully." -S
assert_installed "$default"
[ "$(recorded_directory)" = "$default" ] || fail "recorded: $(recorded_directory)"
echo "ConfigurationTemplatesLocation=http://example.invalid/t" > "$HOME/.Orbe/orbstart/orbstart.cfg"
run kit 1 "Specify correct path to template directory." -S

export HOME="$E2E_DIR/home2"
mkdir "$HOME"
start_setup "$E2E_DIR/big-kit" -S
installing() { [ "$(find "$HOME" -type f | wc -l)" -gt 3 ]; }
wait_for 60 installing
kill -INT "$SETUP_PID"
finish_setup 120
expect_exit 2 "an interrupted installation"
grep -qF "Installation canceled. Template directory has not been changed." "$LOG" || fail "$(cat "$LOG")"
assert_empty "$HOME" "after the interrupt"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 installing
kill -KILL "$SETUP_PID"
wait "$SETUP_PID" 2> /dev/null || true
SETUP_PID=
run missing 1 "An interrupted installation was undone" -S
[ -z "$(find "$HOME" -type f)" ] || fail "left after the recovery: $(find "$HOME" -type f)"
assert_empty "$TMPDIR" "after the headless runs"
