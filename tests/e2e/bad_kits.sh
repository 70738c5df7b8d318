#!/bin/sh
# Kits the wizard cannot start with: missing, not a kit at all, and cut short.
# Each shows one error box (screenshots in $SHOTS/en-box-*.png) and never the
# wizard window, waits for the box to be answered, in unattended mode too,
# and ends with exit code 1, touching nothing.
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
mkdir "$E2E_DIR/missing" "$E2E_DIR/garbage" "$E2E_DIR/truncated"
head -c 4096 /dev/urandom > "$E2E_DIR/garbage/orbp8.pkd"
size=$(stat -c %s "$E2E_DIR/kit/orbp8.pkd")
head -c $((size / 2)) "$E2E_DIR/kit/orbp8.pkd" > "$E2E_DIR/truncated/orbp8.pkd"
for run in "missing -Len" "garbage -Len" "truncated -Len" "missing -S" "garbage -S"; do
  set -- $run
  start_setup "$E2E_DIR/$1" "$2"
  wait_for 30 other_window
  [ "$2" = -S ] || shot "en-box-$1-kit"
  sleep 1
  ! main_window > /dev/null || fail "$run: the wizard window was shown"
  setup_ended && fail "$run: the box did not wait for an answer"
  press "$(other_window)" Return
  finish_setup 30
  expect_exit 1 "$run"
done
[ ! -e "$HOME/.Orbe" ] || fail "a kit error touched the launcher configuration"
assert_empty "$TMPDIR" "after the kit errors"
