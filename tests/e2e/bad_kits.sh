#!/bin/sh
# Kits the wizard cannot start with: missing, not a kit at all, and cut short.
# Each shows one error box and never the wizard window, waits for the box to
# be answered (in unattended mode too) and ends with exit code 1. Screenshots
# of the boxes go to $SHOTS/<lang>-box-*.png.
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
pack_sample "$E2E_DIR/kit"
mkdir "$E2E_DIR/missing" "$E2E_DIR/garbage" "$E2E_DIR/truncated"
head -c 4096 /dev/urandom > "$E2E_DIR/garbage/orbp8.pkd"
size=$(stat -c %s "$E2E_DIR/kit/orbp8.pkd")
head -c $((size / 2)) "$E2E_DIR/kit/orbp8.pkd" > "$E2E_DIR/truncated/orbp8.pkd"

# expect_box DIR SHOT ARGS...: setup on the kit in DIR shows a box and no
# wizard window; answering it ends the program with exit code 1.
expect_box() {
  dir=$1
  name=$2
  shift 2
  start_setup "$E2E_DIR/$dir" "$@"
  wait_for 30 other_window
  ! main_window >/dev/null || fail "$dir kit: the wizard window was shown"
  if [ -n "$name" ]; then shot "$name"; fi
  # The box waits: the program is still there a moment later.
  settle 1
  kill -0 "$SETUP_PID" 2>/dev/null || fail "$dir kit: the box did not wait for an answer"
  press "$(other_window)" Return
  finish_setup 30
  [ "$SETUP_STATUS" = 1 ] || fail "$dir kit: exit code $SETUP_STATUS, not 1"
}

for lang in en ru ka vi; do
  export LANGUAGE="$lang"
  expect_box missing "$lang-box-missing-kit" "-L$lang"
  expect_box garbage "$lang-box-damaged-kit" "-L$lang"
done
unset LANGUAGE
expect_box truncated "" -Len
expect_box missing "" -S
expect_box garbage "" -S
[ ! -e "$HOME/.Orbe" ] || fail "a kit error touched the launcher configuration"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary directory: $(ls -A "$TMPDIR")"
note "bad kits: passed"
