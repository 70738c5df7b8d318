#!/bin/sh
# wizard.sh LANG TITLE: an installation through every page in LANG, window title
# TITLE, into a path typed below "~" but in English, a failed one and a
# cancelled one, shot in $SHOTS/<lang>-*.png, and the box for a missing kit.
. "$(dirname "$0")/lib.sh"
lang=$1
require_display
e2e_init
export LANGUAGE="$lang"
start_setup "$E2E_DIR/missing" "-L$lang"
answer_box "$lang-0-no-kit-box" Return
finish_setup 1 "a missing kit"
start_wizard "$E2E_DIR/kit" "-L$lang"
shot "$lang-1-welcome"
[ "$(xdotool getwindowname "$win")" = "$2" ] || fail "window title: $(xdotool getwindowname "$win")"
click_next "$win"
shot "$lang-2-directory"
type_path "$win" ""
click_next "$win"
answer_box "$lang-3-empty-path-box" Return
# A blank, a quote and a dollar sign must reach the file system as typed.
target="$E2E_DIR/my templates 'q' \$HOME" typed=$target
[ "$lang" = en ] || target="$HOME/${typed#"$E2E_DIR/"}" typed="~/${typed#"$E2E_DIR/"}"
type_path "$win" "$typed"
click "$win" 475 290  # Browse
answer_box "$lang-2-folder-chooser" Escape
click_next "$win"
wait_for 60 recorded "$target"
shot "$lang-5-success"
assert_installed "$target"
click_next "$win"
finish_setup 0 "a good installation"
# The chooser keeps no recent-files list, nor warns that it cannot.
! grep -q "recently-used" "$LOG" || fail "GTK's warnings: $(cat "$LOG")"
# The kit's description in the language (Russian has its own), else in English.
[ "$lang" = ru ] && description=description_ru.html || description=description_en.html
wait_for 10 grep -qxF "$target/readme/$description" "$XDG_RECORD"
rm -r "$HOME/.Orbe" "$XDG_RECORD"

# The target lies under a regular file: an error box and page that name it and
# say why, exit 1.
: > "$E2E_DIR/blocker"
install_into "$E2E_DIR/kit" "$E2E_DIR/blocker/templates" "$lang"
answer_box "$lang-6-error-box" Return
shot "$lang-7-error-page"
click_next "$win"
finish_setup 1 "a failed installation"
[ -f "$E2E_DIR/blocker" ] && [ ! -s "$E2E_DIR/blocker" ] || fail "the blocking file changed"

# Cancelled midway into a new directory: the directories made for it go too.
make_big_kit
install_into "$E2E_DIR/big-kit" "$E2E_DIR/new/target" "$lang"
wait_for 60 written "$E2E_DIR/new/target" d1/f0001
# Held while the cancel is queued, so that it reaches a running installation.
kill -STOP "$SETUP_PID"
shot "$lang-4-progress"
click "$win" 450 335  # Cancel
kill -CONT "$SETUP_PID"
wait_for 120 test ! -e "$E2E_DIR/new"
shot "$lang-9-cancelled"
click_next "$win"
finish_setup 2 "a cancelled installation"
[ ! -e "$HOME/.Orbe" ] && [ ! -e "$XDG_RECORD" ] || fail "a run that installed nothing left a trace"
assert_empty "$TMPDIR" "after the runs"
