# Helpers of the end-to-end tests: the kits, the real setup started and driven
# with xdotool, checks. SETUP, ORBKIT, EXAMPLES and SHOTS come from CMake.
set -eu

fail() { echo "FAIL: $*" >&2; exit 1; }
require_display() { [ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display" >&2; exit 77; }; }

# A fresh current $E2E_DIR: HOME, TMPDIR, an xdg-open logging to $XDG_RECORD; kits: the examples'
# in kit/, none in missing/, text in garbage/ (its first byte starts a deflate block of the
# reserved type, so no head is read from it; random bytes now and then decode to a head that
# passes and open the wizard), the first three quarters in cut/.
e2e_init() {
  E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/orb-e2e.XXXXXX")
  trap 'set +e; kill -KILL ${SETUP_PID:-} 2> /dev/null; wait; rm -rf "$E2E_DIR"' EXIT
  mkdir -p "$SHOTS" && cd "$E2E_DIR" && mkdir home tmp bin kit missing garbage cut
  export HOME="$E2E_DIR/home" TMPDIR="$E2E_DIR/tmp" LANG=C.UTF-8 PATH="$E2E_DIR/bin:$PATH"
  unset LC_ALL LC_MESSAGES LANGUAGE
  LOG="$E2E_DIR/setup.log" XDG_RECORD="$E2E_DIR/xdg-open.log"
  DEFAULT="$HOME/.orbp8/Orbe/orbp8/tmplts"
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' "$XDG_RECORD" > bin/xdg-open
  chmod +x bin/xdg-open
  "$EXAMPLES/pack" "$ORBKIT" kit/orbp8.pkd > /dev/null
  yes garbage | head -c 4096 > garbage/orbp8.pkd
  head -c $(($(stat -c %s kit/orbp8.pkd) * 3 / 4)) kit/orbp8.pkd > cut/orbp8.pkd
}

# $E2E_DIR/big-kit: 4000 files d1/f0000... of 64 KiB of zeros, long to install.
make_big_kit() {
  mkdir -p big/d1 big-kit
  head -c $((4000 * 65536)) /dev/zero | (cd big/d1 && split -a 4 -d -b 65536 - f)
  "$ORBKIT" pack big big-kit/orbp8.pkd --title "en=Big kit" > /dev/null && rm -rf big
}

# start_setup DIR ARGS...: "setup usecwd . ARGS" in DIR, in the background.
start_setup() {
  (cd "$1" && shift && exec "$SETUP" usecwd . "$@") > "$LOG" 2>&1 < /dev/null &
  SETUP_PID=$!
}
start_wizard() {
  start_setup "$@"
  wait_for 30 main_window
  win=$(main_window)
}
# install_into KIT TARGET [LANG]: through the wizard (in English by default) into TARGET.
install_into() {
  start_wizard "$1" "-L${3:-en}"
  click_next "$win"
  type_path "$win" "$2"
  click_next "$win"
}
# finish_setup CODE WHAT: setup ends within two minutes with exit code CODE.
setup_ended() { ! kill -0 "$SETUP_PID" 2> /dev/null; }
finish_setup() {
  wait_for 120 setup_ended
  wait "$SETUP_PID" && status=0 || status=$?
  SETUP_PID=
  [ "$status" = "$1" ] || fail "$2: exit code $status, not $1; output: $(cat "$LOG")"
}

# said TEXT: setup's output holds TEXT; said_line LINE: a line of it is LINE.
said() { grep -qF -- "$1" "$LOG" || fail "no \"$1\" in: $(cat "$LOG")"; }
said_line() { grep -qxF -- "$1" "$LOG" || fail "no line \"$1\" in: $(cat "$LOG")"; }

# written DIR DIRECTORY/FILE: FILE has been written below DIR, in its own
# directory or in that still under its hidden name (a new directory takes its
# own only at the commit).
written() {
  for path in "$1/$2" "$1"/.p8dir-*/"${2#*/}"; do [ -e "$path" ] && return 0; done
  return 1
}

# wait_for SECONDS COMMAND...: repeats COMMAND until it succeeds.
wait_for() {
  tries=$(($1 * 10)) && shift
  until "$@" > /dev/null 2>&1; do
    [ "$((tries -= 1))" -gt 0 ] || fail "timed out waiting for: $*"
    sleep 0.1
  done
}

# The wizard is setup's visible 500 x 360 window; others are boxes or choosers.
setup_window() {
  for w in $(xdotool search --onlyvisible --pid "$SETUP_PID" 2> /dev/null); do
    size=$(xdotool getwindowgeometry "$w" 2> /dev/null | sed -n 's/ *Geometry: //p')
    if [ "$size" "$1" 500x360 ]; then echo "$w" && return 0; fi
  done
  return 1
}
main_window() { setup_window =; }
other_window() { setup_window !=; }
no_other_window() { ! other_window; }

# click WINDOW X Y; press WINDOW KEYS..., the pointer on it for GTK to take them.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1 sleep 0.2; }
press() {
  w=$1 && shift
  xdotool mousemove --window "$w" 2 2 windowfocus --sync "$w" key --clearmodifiers "$@"
  sleep 0.2
}
# The wizard's buttons and the directory page's entry in the fixed layout.
click_next() { click "$1" 350 335; }
type_path() {
  click "$1" 310 290
  press "$1" ctrl+a BackSpace
  xdotool type --delay 5 "$2"
}
shot() { sleep 0.4 && import -window root "$SHOTS/$1.png"; }
# answer_box SHOT KEYS...: a box (or the folder chooser) shown, shot, answered.
answer_box() {
  wait_for 60 other_window
  shot "$1" && shift
  press "$(other_window)" "$@"
  wait_for 10 no_other_window
}

# Every path under DIR, sorted, with its type and, but for directories, size and time.
tree_listing() { (cd "$1" && find . -type d -printf 'd %p\n' -o -printf '%y %p %s %Ts\n') | sort; }
# DIR holds the examples' tree, byte for byte with the files' times, and is recorded.
assert_installed() {
  [ "$(tree_listing "$EXAMPLES/templates")" = "$(tree_listing "$1")" ] && recorded "$1" &&
    diff -r "$EXAMPLES/templates" "$1" > /dev/null || fail "not installed or not recorded: $1"
}
assert_empty() { [ -z "$(ls -A "$1")" ] || fail "$2: left in $1: $(ls -A "$1")"; }
recorded() { grep -qxF "ConfigurationTemplatesLocation=$1" "$HOME/.Orbe/orbstart/orbstart.cfg"; }
