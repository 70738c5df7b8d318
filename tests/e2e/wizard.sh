#!/bin/sh
# A person's installation through every page of the wizard in one language,
# with screenshots in $SHOTS/<lang>-*.png: welcome -> directory -> empty path
# refused -> back -> directory -> typed path, folder chooser cancelled ->
# success -> "Ready" opens the kit's description for the language; exit 0.
#   wizard.sh LANG
. "$(dirname "$0")/lib.sh"
lang=$1
require_display
e2e_init
export LANGUAGE="$lang"
start_setup "$E2E_DIR/kit" "-L$lang"
wait_for 30 main_window
win=$(main_window)
shot "$lang-1-welcome"
title=$(xdotool getwindowname "$win")
case $lang in
  en) [ "$title" = "Installing configuration" ] || fail "window title: $title" ;;
  *) [ -n "$title" ] && [ "$title" != "Installing configuration" ] || fail "window title: $title" ;;
esac
click_next "$win"
shot "$lang-2-directory"
type_path "$win" ""
click_next "$win"
wait_for 10 other_window
shot "$lang-3-empty-path-box"
press "$(other_window)" Return
wait_for 10 no_other_window
click_back "$win"
click_next "$win"
# A blank, a quote and a dollar sign must reach the file system as typed.
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
expect_exit 0 "a good installation"
# Russian has a description of its own; the others fall back to English.
[ "$lang" = ru ] && description=description_ru.html || description=description_en.html
description_opened() { grep -qxF "$target/readme/$description" "$XDG_RECORD"; }
wait_for 10 description_opened
