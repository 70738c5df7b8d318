# Shared helpers of the end-to-end tests: a fresh home and temporary directory
# per test, the kits, starting the real setup executable, finding its windows
# on the X display and driving them with xdotool, screenshots. Sourced by the
# test scripts; SETUP, ORBKIT, EXAMPLES and SHOTS come from the environment
# (tests/e2e/CMakeLists.txt).

set -eu
E2E_NAME=$(basename "$0" .sh)${1:+-$1}

# fail MESSAGE: ends the test, with the screen kept as $SHOTS/failed-<test>.png.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then import -window root "$SHOTS/failed-$E2E_NAME.png" 2>/dev/null || true; fi
  exit 1
}

# A fresh home and temporary directory, removed at the end, the UTF-8 C
# locale, an xdg-open that records what it is asked to open in $XDG_RECORD,
# and the kit of examples/ in $E2E_DIR/kit.
e2e_init() {
  E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/orb-e2e.XXXXXX")
  trap 'e2e_cleanup' EXIT
  mkdir -p "$E2E_DIR/home/.local/share" "$E2E_DIR/tmp" "$E2E_DIR/bin" "$E2E_DIR/kit" "$SHOTS"
  export HOME="$E2E_DIR/home" TMPDIR="$E2E_DIR/tmp" LANG=C.UTF-8 PATH="$E2E_DIR/bin:$PATH"
  unset LC_ALL LC_MESSAGES LANGUAGE
  LOG="$E2E_DIR/setup.log"
  XDG_RECORD="$E2E_DIR/xdg-open.log"
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' "$XDG_RECORD" > "$E2E_DIR/bin/xdg-open"
  chmod +x "$E2E_DIR/bin/xdg-open"
  "$EXAMPLES/pack" "$ORBKIT" "$E2E_DIR/kit/orbp8.pkd" > /dev/null
}

e2e_cleanup() {
  if [ -n "${SETUP_PID:-}" ]; then kill "$SETUP_PID" 2>/dev/null && kill -CONT "$SETUP_PID" 2>/dev/null; fi
  rm -rf "$E2E_DIR"
}

# Tests that drive windows skip (77) when with_xvfb found no X server.
require_display() {
  [ -n "${DISPLAY:-}" ] || { echo "SKIP: no X display" >&2; exit 77; }
}

# make_big_kit: $E2E_DIR/big-kit/orbp8.pkd of 8 directories of 500 files of
# 64 KiB of zeros (d1/f0000 ...), a small kit that takes long to install.
make_big_kit() {
  for d in 1 2 3 4 5 6 7 8; do
    mkdir -p "$E2E_DIR/big/d$d" "$E2E_DIR/big-kit"
    head -c $((500 * 65536)) /dev/zero | (cd "$E2E_DIR/big/d$d" && split -a 4 -d -b 65536 - f)
  done
  "$ORBKIT" pack "$E2E_DIR/big" "$E2E_DIR/big-kit/orbp8.pkd" --title "en=Big kit" >/dev/null
  rm -rf "$E2E_DIR/big"
}

# start_setup DIR ARGS...: "setup usecwd . ARGS" in DIR in the background;
# SETUP_PID is its process, $LOG its output.
start_setup() {
  (cd "$1" && shift && exec "$SETUP" usecwd . "$@") > "$LOG" 2>&1 < /dev/null &
  SETUP_PID=$!
}

# finish_setup SECONDS: waits for setup to end; SETUP_STATUS is its exit code.
finish_setup() {
  wait_for "$1" setup_ended
  SETUP_STATUS=0
  wait "$SETUP_PID" || SETUP_STATUS=$?
  SETUP_PID=
}
setup_ended() { ! kill -0 "$SETUP_PID" 2>/dev/null; }

# expect_exit CODE WHAT: the exit code of the last setup run.
expect_exit() {
  [ "$SETUP_STATUS" = "$1" ] || { cat "$LOG" >&2; fail "$2: exit code $SETUP_STATUS, not $1"; }
}

# wait_for SECONDS COMMAND...: repeats COMMAND until it succeeds; fails the
# test when it never does or setup ends first.
wait_for() {
  limit=$(($1 * 10))
  shift
  until "$@" >/dev/null 2>&1; do
    limit=$((limit - 1))
    if [ "$limit" -le 0 ] || { [ -n "${SETUP_PID:-}" ] && setup_ended; }; then
      cat "$LOG" >&2 || true
      fail "setup ended or timed out waiting for: $*"
    fi
    sleep 0.1
  done
}

# The wizard's window is the setup process's visible window of 500 x 360
# pixels; any other (a message box, the folder chooser) is other_window.
main_window() { setup_window = 500x360; }
other_window() { setup_window != 500x360; }
no_other_window() { ! other_window; }
setup_window() {
  for w in $(xdotool search --onlyvisible --pid "$SETUP_PID" 2>/dev/null); do
    size=$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd x)
    if [ "$size" "$1" "$2" ]; then echo "$w" && return 0; fi
  done
  return 1
}

# click WINDOW X Y: a left click at window coordinates.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.2
}

# press WINDOW KEYS...: types the keys into the window. Without a window
# manager GTK takes keys only under the pointer, so it goes to a bare corner.
press() {
  w=$1
  shift
  xdotool mousemove --window "$w" 2 2
  xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
  xdotool key --clearmodifiers "$@"
  sleep 0.2
}

# answer_yes BOX, answer_no BOX: a click on the question box's last (Yes) or
# next to last (No) button; GTK's buttons are at least 85 pixels wide, 6 apart
# and 12 from the box's right edge, whatever language they speak.
box_button() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  click "$1" $((WIDTH - 55 - $2 * 91)) $((HEIGHT - 29))
}
answer_yes() { box_button "$1" 0; }
answer_no() { box_button "$1" 1; }

# The wizard's buttons and the directory page's entry in the fixed layout.
click_back() { click "$1" 270 335; }
click_next() { click "$1" 350 335; }
click_cancel() { click "$1" 450 335; }
click_browse() { click "$1" 475 290; }

# type_path WIN TEXT: replaces what the directory page's entry holds.
type_path() {
  click "$1" 310 290
  press "$1" ctrl+a BackSpace
  xdotool type --delay 5 "$2"
  sleep 0.2
}

# install_into DIR LANG TARGET: runs setup on the kit in DIR in language LANG
# and starts an installation into TARGET; win is the wizard window.
install_into() {
  start_setup "$1" "-L$2"
  wait_for 30 main_window
  win=$(main_window)
  click_next "$win"
  type_path "$win" "$3"
  click_next "$win"
}

# shot NAME: a PNG of the whole screen in $SHOTS, once GTK has drawn.
shot() {
  sleep 0.4
  import -window root "$SHOTS/$1.png"
}

# tree_listing DIR: every path under DIR with its type, and the size and time
# of all but directories (whose times follow their entries), sorted;
# tree_state DIR adds every file's checksum: equal output, an unchanged tree.
tree_listing() {
  (cd "$1" && find . \( -type d -printf 'd %p\n' \) -o -printf '%y %p %s %T@\n' | sort)
}
tree_state() {
  tree_listing "$1"
  (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r md5sum)
}

# The first template directory recorded in the local launcher configuration.
recorded_directory() {
  sed -n 's/^ConfigurationTemplatesLocation=//Ip' "$HOME/.Orbe/orbstart/orbstart.cfg" | head -n 1
}

# assert_installed DIR: every file of the sample tree is in DIR, byte for byte
# and with its modification time.
assert_installed() {
  (cd "$EXAMPLES/templates" && find . -type f) | while IFS= read -r f; do
    cmp -s "$EXAMPLES/templates/$f" "$1/$f" || fail "not installed: $1/$f"
    [ "$(stat -c %Y "$EXAMPLES/templates/$f")" = "$(stat -c %Y "$1/$f")" ] ||
      fail "installed with another time: $1/$f"
  done
}

# assert_empty DIR WHAT: nothing is left in DIR.
assert_empty() {
  [ -z "$(ls -A "$1")" ] || fail "$2: left in $1: $(ls -A "$1")"
}
