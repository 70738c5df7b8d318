#!/bin/sh
# An unattended installation with a display (-S) from the welcome page to the
# final page without any input: into the proposed (default) directory,
# recorded, exit 0, no description opened. "usecwd DIR" finds the kit in DIR
# also when GTK's own --display option, the only one naming the display,
# comes between them.
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
default="$HOME/.orbp8/Orbe/orbp8/tmplts"
start_setup "$E2E_DIR/kit" -S
finish_setup 60
expect_exit 0 "a silent run"
assert_installed "$default"
[ "$(recorded_directory)" = "$default" ] || fail "recorded: $(recorded_directory)"
[ ! -e "$XDG_RECORD" ] || fail "a silent run opened the description"

display=$DISPLAY
(unset DISPLAY && cd "$E2E_DIR" && exec "$SETUP" usecwd "--display=$display" kit) > "$LOG" 2>&1 &
SETUP_PID=$!
wait_for 30 main_window
press "$(main_window)" Escape
wait_for 10 other_window
answer_yes "$(other_window)"
finish_setup 30
expect_exit 2 "usecwd --display kit, left"
assert_empty "$TMPDIR" "after the runs"
