#!/bin/sh
# With a display, no steps through the wizard: a bad kit gives one waiting error box
# ($SHOTS/en-box-*.png), exit 1, over no wizard or, when only its tail is bad, over
# the wizard, answered or closed by SIGTERM; -S installs (0) and sums up; -N shows no box;
# "usecwd --display=... DIR", Escape and Yes leave (2).
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
for run in "missing -Len" "garbage -Len" "cut -Len" "missing -S" "garbage -S"; do
  set -- $run
  start_setup "$E2E_DIR/$1" "$2"
  wait_for 30 other_window
  [ "$2" = -S ] || shot "en-box-$1-kit"
  sleep 1
  if [ "$1" = cut ]; then
    main_window > /dev/null || fail "$run: the wizard did not open before the check ended"
  else
    ! main_window > /dev/null || fail "$run: the wizard window was shown"
  fi
  ! setup_ended || fail "$run: the box did not wait for an answer"
  # A termination signal closes a waiting box, also one opened by the check.
  case "$run" in
    "cut -Len" | "garbage -S") kill -TERM "$SETUP_PID" ;;
    *) press "$(other_window)" Return ;;
  esac
  finish_setup 1 "$run"
done
[ ! -e "$HOME/.Orbe" ] || fail "a kit error touched the launcher configuration"

start_setup "$E2E_DIR/kit" -S
finish_setup 0 "a silent run"
assert_installed "$DEFAULT"
grep -qF "Summary: 12 created, 0 replaced, 0 unchanged, 9728 bytes written." "$LOG" || fail "$(cat "$LOG")"
start_setup "$E2E_DIR/garbage" -N  # no box waits for an answer
finish_setup 1 "a dry run from a damaged kit"
[ ! -e "$XDG_RECORD" ] || fail "a silent run opened the description"
env -u DISPLAY "$SETUP" usecwd "--display=$DISPLAY" kit > "$LOG" 2>&1 < /dev/null &
SETUP_PID=$!
wait_for 30 main_window
press "$(main_window)" Escape
answer_box en-8-cancel-question Tab Return  # from No to Yes
finish_setup 2 "usecwd --display kit, left before installing"
assert_empty "$TMPDIR" "after the runs"
