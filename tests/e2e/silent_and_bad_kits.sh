#!/bin/sh
# Runs with a display and no steps through the wizard. A missing, damaged or cut
# kit: one error box ($SHOTS/en-box-*.png) that waits for its answer, no wizard,
# exit 1. Unattended (-S): into the proposed directory, recorded, exit 0. "usecwd
# DIR" with --display between; Escape asks, Yes leaves before installing: 2.
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
mkdir "$E2E_DIR/missing" "$E2E_DIR/garbage" "$E2E_DIR/truncated"
head -c 4096 /dev/urandom > "$E2E_DIR/garbage/orbp8.pkd"
head -c $(($(stat -c %s "$E2E_DIR/kit/orbp8.pkd") / 2)) "$E2E_DIR/kit/orbp8.pkd" \
  > "$E2E_DIR/truncated/orbp8.pkd"
for run in "missing -Len" "garbage -Len" "truncated -Len" "missing -S" "garbage -S"; do
  set -- $run
  start_setup "$E2E_DIR/$1" "$2"
  wait_for 30 other_window
  [ "$2" = -S ] || shot "en-box-$1-kit"
  sleep 1
  ! main_window > /dev/null || fail "$run: the wizard window was shown"
  ! setup_ended || fail "$run: the box did not wait for an answer"
  press "$(other_window)" Return
  finish_setup 1 "$run"
done
[ ! -e "$HOME/.Orbe" ] || fail "a kit error touched the launcher configuration"

start_setup "$E2E_DIR/kit" -S
finish_setup 0 "a silent run"
assert_installed "$DEFAULT"
recorded "$DEFAULT" || fail "not recorded: $DEFAULT"
[ ! -e "$XDG_RECORD" ] || fail "a silent run opened the description"
(cd "$E2E_DIR" && exec env -u DISPLAY "$SETUP" usecwd "--display=$DISPLAY" kit) > "$LOG" 2>&1 &
SETUP_PID=$!
wait_for 30 main_window
press "$(main_window)" Escape
wait_for 10 other_window
shot en-8-cancel-question
press "$(other_window)" Tab Return  # from No to Yes
finish_setup 2 "usecwd --display kit, left before installing"
assert_empty "$TMPDIR" "after the runs"
