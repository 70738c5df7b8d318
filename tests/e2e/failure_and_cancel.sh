#!/bin/sh
# The ways an interactive run ends without installing, in English, with
# screenshots in $SHOTS/en-*.png: a failed installation (error box, error
# page, exit 1); a long installation cancelled, rolled back and ended with
# exit 2 only afterwards; leaving before installing (Escape asks, No stays,
# Cancel asks, Yes leaves; exit 2). Nothing is recorded or left behind.
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
make_big_kit

# The target lies under a regular file.
: > "$E2E_DIR/blocker"
install_into "$E2E_DIR/kit" en "$E2E_DIR/blocker/templates"
wait_for 60 other_window
shot en-6-error-box
press "$(other_window)" Return
wait_for 10 no_other_window
shot en-7-error-page
click_next "$win"
finish_setup 30
expect_exit 1 "a failed installation"
[ -f "$E2E_DIR/blocker" ] && [ ! -s "$E2E_DIR/blocker" ] || fail "the blocking file changed"

# Over an older copy of a kit file and a file of the user's own.
target="$E2E_DIR/target"
mkdir -p "$target/d1" "$target/user dir"
echo "older copy" > "$target/d1/f0000"
touch -d 2001-01-01 "$target/d1/f0000"
echo "mine" > "$target/user dir/notes.txt"
before=$(tree_state "$target")
listing_before=$(tree_listing "$target")
install_into "$E2E_DIR/big-kit" en "$target"
installing() { [ "$(find "$target" -type f | wc -l)" -gt 3 ]; }
wait_for 60 installing
# Held while the cancel is queued, so that it reaches a running installation.
kill -STOP "$SETUP_PID"
shot en-4-progress
click_cancel "$win"
kill -CONT "$SETUP_PID"
restored() { [ "$(tree_listing "$target")" = "$listing_before" ]; }
wait_for 120 restored
shot en-9-cancelled
no_other_window || fail "a box over the cancelled page"
click_next "$win"
finish_setup 60
expect_exit 2 "a cancelled installation"
[ "$(tree_state "$target")" = "$before" ] || fail "the target changed after the cancel"

start_setup "$E2E_DIR/kit" -Len
wait_for 30 main_window
win=$(main_window)
press "$win" Escape
wait_for 10 other_window
shot en-8-cancel-question
answer_no "$(other_window)"
wait_for 10 no_other_window
main_window > /dev/null || fail "No to the cancel question closed the wizard"
click_next "$win"
click_cancel "$win"
wait_for 10 other_window
answer_yes "$(other_window)"
finish_setup 30
expect_exit 2 "leaving before the installation"
[ ! -e "$HOME/.Orbe" ] || fail "a run that installed nothing recorded a directory"
[ ! -e "$XDG_RECORD" ] || fail "a run that installed nothing opened the description"
assert_empty "$TMPDIR" "after the runs"
