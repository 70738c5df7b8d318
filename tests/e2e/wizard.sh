#!/bin/sh
# A person's installation through every page of the wizard, in one language:
#   welcome -> directory -> empty path refused -> back to welcome -> directory
#   -> typed path, folder chooser cancelled -> progress -> success -> "Ready"
#   opens the description;
# then a run whose installation fails: error box -> error page -> exit 1;
# then one left before installing: Escape, No, Cancel, Yes -> exit 2.
# Screenshots of each page go to $SHOTS/<lang>-*.png.
#   wizard.sh LANG
. "$(dirname "$0")/lib.sh"
lang=$1
require_display
e2e_init
export LANGUAGE="$lang"
pack_sample "$E2E_DIR/kit"

# The description document the kit names for this language: Russian has its
# own, the others fall back to English.
case $lang in
  ru) description=readme/description_ru.html ;;
  *) description=readme/description_en.html ;;
esac

# ---- a good installation, interactively ----
start_setup "$E2E_DIR/kit" "-L$lang"
wait_for 30 main_window
win=$(main_window)
shot "$lang-1-welcome"

# The window carries the title in the chosen language.
title=$(xdotool getwindowname "$win")
case $lang in
  en) [ "$title" = "Installing configuration" ] || fail "window title: $title" ;;
  *) [ -n "$title" ] && [ "$title" != "Installing configuration" ] || fail "window title: $title" ;;
esac

click_next "$win"
shot "$lang-2-directory"

# An empty path is refused with a box; the directory page stays.
click_path_entry "$win"
press "$win" ctrl+a BackSpace
click_next "$win"
wait_for 10 other_window
shot "$lang-3-empty-path-box"
press "$(other_window)" Return
wait_for 10 no_other_window

# Back to the welcome page and forward again: the proposed directory returns.
click_back "$win"
click_next "$win"
shot "$lang-2-directory-again"

# A directory typed without a final separator, with a blank, a quote and a
# dollar sign in its name, all of which must reach the file system as typed.
# The folder chooser, opened and cancelled, leaves the typed text in place.
target="$E2E_DIR/my templates 'q' \$HOME"
type_path "$win" "$target"
click_browse "$win"
wait_for 10 other_window
shot "$lang-2-folder-chooser"
press "$(other_window)" Escape
wait_for 10 no_other_window
click_next "$win"

recorded_is_target() { [ "$(recorded_directory)" = "$target" ]; }
wait_for 60 recorded_is_target
shot "$lang-5-success"
assert_installed "$target"

click_next "$win"
finish_setup 30
[ "$SETUP_STATUS" = 0 ] || fail "a good installation exited with $SETUP_STATUS"
description_opened() { grep -qxF "$target/$description" "$XDG_RECORD"; }
wait_for 10 description_opened

# ---- an installation that fails: the target lies under a regular file ----
: > "$E2E_DIR/blocker"
config_before=$(cat "$HOME/.Orbe/orbstart/orbstart.cfg")
install_into "$E2E_DIR/kit" "$lang" "$E2E_DIR/blocker/templates"
wait_for 60 other_window
shot "$lang-6-error-box"
press "$(other_window)" Return
wait_for 10 no_other_window
shot "$lang-7-error-page"
click_next "$win"
finish_setup 30
[ "$SETUP_STATUS" = 1 ] || fail "a failed installation exited with $SETUP_STATUS"
[ -f "$E2E_DIR/blocker" ] && [ ! -s "$E2E_DIR/blocker" ] || fail "the blocking file changed"
[ "$(cat "$HOME/.Orbe/orbstart/orbstart.cfg")" = "$config_before" ] ||
  fail "a failed installation changed the launcher configuration"
[ "$(grep -c . "$XDG_RECORD")" = 1 ] || fail "the error page opened the description"

# ---- leaving before the installation: Escape asks, No stays, Yes leaves ----
start_setup "$E2E_DIR/kit" "-L$lang"
wait_for 30 main_window
win=$(main_window)
press "$win" Escape
wait_for 10 other_window
shot "$lang-8-cancel-question"
answer_no "$(other_window)"
wait_for 10 no_other_window
main_window >/dev/null || fail "No to the cancel question closed the wizard"
click_next "$win"
click_cancel "$win"
wait_for 10 other_window
answer_yes "$(other_window)"
finish_setup 30
[ "$SETUP_STATUS" = 2 ] || fail "cancelling before the installation exited with $SETUP_STATUS"
[ "$(cat "$HOME/.Orbe/orbstart/orbstart.cfg")" = "$config_before" ] ||
  fail "a cancelled run changed the launcher configuration"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary directory: $(ls -A "$TMPDIR")"
note "wizard in $lang: passed"
