#!/bin/sh
# Without a display: -S installs (exit 0), refuses a bad kit or directory and
# changes nothing (1) and says what failed where, rolls back on an interrupt
# (2); without -S 1. After a
# kill -9 the next start undoes the installation, even without a kit.
. "$(dirname "$0")/lib.sh"
e2e_init
unset DISPLAY
make_big_kit

# run KIT-DIR CODE TEXT [OPTION]: setup ends with CODE, TEXT on standard error.
said() { grep -qF "$1" "$LOG" || fail "no \"$1\" in: $(cat "$LOG")"; }
run() {
  start_setup "$E2E_DIR/$1" ${4:-}
  finish_setup "$2" "$1 ${4:-}"
  said "$3"
}
run kit 1 "No display is available. Run the program with -S"
run missing 1 "Distribution kit file orbp8.pkd not found." -S
run garbage 1 "corrupted or not designed for this installation program" -S
run cut 1 "Template directory has not been changed." -S
assert_empty "$HOME" "after the refused runs"
: > "$HOME/.orbp8"  # a file where the default directory's parent must be made
run kit 1 "$HOME/.orbp8: a file or directory of that name is in the way." -S
rm "$HOME/.orbp8"
run kit 0 "Configuration installed successfully." -S
assert_installed "$DEFAULT"
echo "ConfigurationTemplatesLocation=http://example.invalid/t" > "$HOME/.Orbe/orbstart/orbstart.cfg"
run kit 1 "Specify correct path to template directory." -S

rm -rf "$HOME" && mkdir "$HOME"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 test -e "$DEFAULT/d1/f0001"
kill -INT "$SETUP_PID"
finish_setup 2 "an interrupted installation"
said "Restoring the previous version..."
said "Installation canceled. Template directory has not been changed."
assert_empty "$HOME" "after the interrupt"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 test -e "$DEFAULT/d1/f0001"
kill -KILL "$SETUP_PID"
wait "$SETUP_PID" || true
run missing 1 "An interrupted installation was undone" -S
assert_empty "$HOME" "after the recovery"
assert_empty "$TMPDIR" "after the headless runs"
