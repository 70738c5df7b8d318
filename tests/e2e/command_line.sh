#!/bin/sh
# How the real program reads its command line around GTK's own options:
# "usecwd DIR" finds the kit in DIR under the current directory; a GTK option
# such as --display is removed before that rule counts the arguments; any
# number of further arguments makes the current directory itself the place of
# the kit. The wizard window appearing shows that the kit was found (a missing
# kit gives a box and no window).
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
pack_sample "$E2E_DIR/kit"
display=$DISPLAY

# start_in DIR ARGS...: setup started in DIR with exactly ARGS after its name.
start_in() {
  dir=$1
  shift
  (cd "$dir" && exec "$SETUP" "$@") > "$E2E_DIR/setup.log" 2>&1 &
  SETUP_PID=$!
}

# leave: Escape and Yes on the wizard window, which ends with exit code 2.
leave() {
  wait_for 30 main_window
  press "$(main_window)" Escape
  wait_for 10 other_window
  answer_yes "$(other_window)"
  finish_setup 30
  [ "$SETUP_STATUS" = 2 ] || fail "$1: exit code $SETUP_STATUS"
}

start_in "$E2E_DIR" usecwd kit
leave "usecwd kit"

# Only GTK's option tells where the display is.
unset DISPLAY
start_in "$E2E_DIR" usecwd "--display=$display" kit
export DISPLAY="$display"
leave "usecwd --display kit"

start_in "$E2E_DIR/kit" usecwd "$E2E_DIR/elsewhere" -x stray
leave "usecwd with four arguments"

# Three arguments: the third names a directory, here one that has no kit.
start_in "$E2E_DIR/kit" usecwd -Lru
wait_for 30 other_window
! main_window >/dev/null || fail "usecwd -Lru found a kit in ./-Lru"
press "$(other_window)" Return
finish_setup 30
[ "$SETUP_STATUS" = 1 ] || fail "usecwd -Lru: exit code $SETUP_STATUS"
note "command line: passed"
