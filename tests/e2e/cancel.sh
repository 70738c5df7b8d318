#!/bin/sh
# Cancelling a long installation: a big generated kit is installed over a
# directory that already holds an older copy of one of its files and a file of
# the user's own; the user cancels (Cancel button, or Escape in Georgian and
# Vietnamese), confirming if asked. The program must roll back, show the cancelled
# page, end with exit code 2 only after the rollback, and leave the directory
# exactly as it was. Screenshots of the progress page, the confirmation and
# the cancelled page go to $SHOTS/<lang>-*.png.
#   cancel.sh LANG
. "$(dirname "$0")/lib.sh"
lang=$1
require_display
e2e_init
export LANGUAGE="$lang"

make_big_kit "$E2E_DIR/kit"

target="$E2E_DIR/target"
mkdir -p "$target/d01" "$target/user dir"
echo "older copy" > "$target/d01/f0000"
touch -d 2001-01-01 "$target/d01/f0000"
echo "mine" > "$target/user dir/notes.txt"
before=$(tree_state "$target")
listing_before=$(tree_listing "$target")
files_in_target() { find "$target" -type f | wc -l; }

install_into "$E2E_DIR/kit" "$lang" "$target"

installing() { [ "$(files_in_target)" -gt 3 ]; }
wait_for 60 installing
# The program is held while the user's cancel is queued, so that the cancel
# reaches a running installation however fast this machine copies.
kill -STOP "$SETUP_PID"
shot "$lang-4-progress"
case $lang in
  ka | vi) press "$win" Escape ;;
  *) click_cancel "$win" ;;
esac
kill -CONT "$SETUP_PID"

# A confirmation, if the program asks for one, is answered with Yes.
for _ in $(seq 1 30); do
  if other_window >/dev/null; then
    shot "$lang-8-cancel-question-installing"
    answer_yes "$(other_window)"
    break
  fi
  sleep 0.1
done

# The rollback puts the directory back; the cancelled page follows.
restored() { [ "$(tree_listing "$target")" = "$listing_before" ]; }
wait_for 120 restored
shot "$lang-9-cancelled"

# "Ready" (the Next button) ends the program with the cancelled exit code.
click_next "$win"
finish_setup 60
[ "$SETUP_STATUS" = 2 ] || fail "a cancelled installation exited with $SETUP_STATUS"
[ "$(tree_state "$target")" = "$before" ] || fail "the target changed after the cancel"
[ ! -e "$HOME/.Orbe/orbstart/orbstart.cfg" ] || fail "a cancelled run recorded its directory"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary directory: $(ls -A "$TMPDIR")"
note "cancel in $lang: passed"
