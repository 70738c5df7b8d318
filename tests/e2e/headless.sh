#!/bin/sh
# Runs without any display: unattended (-S), exit 0 installed; 1 for a missing,
# damaged or cut kit or no usable directory, changing nothing; 2 after an
# interrupt, rolled back first; without -S 1. After a kill -9 the next start
# undoes the installation, even without a kit.
. "$(dirname "$0")/lib.sh"
e2e_init
unset DISPLAY
mkdir "$E2E_DIR/missing" "$E2E_DIR/garbage" "$E2E_DIR/cut"
head -c 4096 /dev/urandom > "$E2E_DIR/garbage/orbp8.pkd"
head -c $(($(stat -c %s "$E2E_DIR/kit/orbp8.pkd") * 3 / 4)) "$E2E_DIR/kit/orbp8.pkd" \
  > "$E2E_DIR/cut/orbp8.pkd"
make_big_kit

# run KIT-DIR CODE TEXT [OPTION]: setup ends with CODE, TEXT on standard error.
said() { grep -qF "$1" "$LOG" || fail "no \"$1\" in: $(cat "$LOG")"; }
run() {
  start_setup "$E2E_DIR/$1" ${4:-}
  finish_setup "$2" "$1 ${4:-}"
  said "$3"
}
run kit 1 "no display available"
run missing 1 "Distribution kit file orbp8.pkd not found." -S
run garbage 1 "corrupted or not designed for this installation program" -S
run cut 1 "Template directory has not been changed." -S
assert_empty "$HOME" "after the refused runs"
run kit 0 "Configuration installed successfully." -S
assert_installed "$DEFAULT"
recorded "$DEFAULT" || fail "not recorded: $DEFAULT"
echo "ConfigurationTemplatesLocation=http://example.invalid/t" > "$HOME/.Orbe/orbstart/orbstart.cfg"
run kit 1 "Specify correct path to template directory." -S

rm -rf "$HOME" && mkdir "$HOME"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 test -e "$DEFAULT/d1/f0001"
kill -INT "$SETUP_PID"
finish_setup 2 "an interrupted installation"
said "Installation canceled. Template directory has not been changed."
assert_empty "$HOME" "after the interrupt"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 test -e "$DEFAULT/d1/f0001"
kill -KILL "$SETUP_PID"
wait "$SETUP_PID" || true
run missing 1 "An interrupted installation was undone" -S
assert_empty "$HOME" "after the recovery"
assert_empty "$TMPDIR" "after the headless runs"
