# Shared helpers of the end-to-end tests: a fresh home and temporary directory
# per test, the sample kit, starting the real setup executable, finding its
# windows on the X display and driving them with xdotool, screenshots.
# Sourced by the test scripts; expects SETUP, ORBKIT, EXAMPLES and SHOTS in the
# environment (set by tests/e2e/CMakeLists.txt).

set -eu

# fail MESSAGE: ends the test; with a display, the screen at that moment is
# kept as $SHOTS/failed-<script>-<args>.png.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then
    import -window root "$SHOTS/failed-$E2E_NAME.png" 2>/dev/null || true
  fi
  exit 1
}
E2E_NAME=$(basename "$0" .sh)${1:+-$1}

note() {
  echo "e2e: $*" >&2
}

# A fresh home and temporary directory, removed when the test ends, in the
# UTF-8 C locale (the wizard's language comes from -L; a test may set
# LANGUAGE so that GTK's own button texts follow it).
e2e_init() {
  E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/orb-e2e.XXXXXX")
  trap 'e2e_cleanup' EXIT
  mkdir "$E2E_DIR/home" "$E2E_DIR/tmp" "$E2E_DIR/bin" "$E2E_DIR/kit"
  export HOME="$E2E_DIR/home"
  # GTK's folder chooser keeps its recently used list there, as in any home.
  mkdir -p "$HOME/.local/share"
  export TMPDIR="$E2E_DIR/tmp"
  export LANG=C.UTF-8
  unset LC_ALL LC_MESSAGES LANGUAGE
  # A recording xdg-open: the description document is "opened" into a file.
  XDG_RECORD="$E2E_DIR/xdg-open.log"
  cat > "$E2E_DIR/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >> "$XDG_RECORD"
EOF
  chmod +x "$E2E_DIR/bin/xdg-open"
  export PATH="$E2E_DIR/bin:$PATH"
  mkdir -p "$SHOTS"
}

# Tests that drive windows skip (exit code 77) when with_xvfb found no X server.
require_display() {
  if [ -z "${DISPLAY:-}" ]; then
    echo "SKIP: no X display (Xvfb could not be started)" >&2
    exit 77
  fi
}

e2e_cleanup() {
  if [ -n "${SETUP_PID:-}" ] && kill -0 "$SETUP_PID" 2>/dev/null; then
    kill "$SETUP_PID" 2>/dev/null || true
    kill -CONT "$SETUP_PID" 2>/dev/null || true
  fi
  rm -rf "$E2E_DIR"
}

# pack_sample DIR: the kit of examples/ as DIR/orbp8.pkd.
pack_sample() {
  "$EXAMPLES/pack" "$ORBKIT" "$1/orbp8.pkd" >/dev/null
}

# make_big_kit DIR: DIR/orbp8.pkd of BIG_DIRS directories with BIG_FILES files
# of BIG_SIZE bytes each (d01/f0000 ...): zeros make a small kit that takes
# long to install.
make_big_kit() {
  big="$E2E_DIR/big"
  for d in $(seq -w 1 "${BIG_DIRS:-8}"); do
    mkdir -p "$big/d$d"
    head -c $((${BIG_FILES:-500} * ${BIG_SIZE:-65536})) /dev/zero |
      (cd "$big/d$d" && split -a 4 -d -b "${BIG_SIZE:-65536}" - f)
  done
  "$ORBKIT" pack "$big" "$1/orbp8.pkd" --title "en=Big kit" >/dev/null
  rm -rf "$big"
}

# start_setup DIR ARGS...: runs setup on the kit in DIR in the background;
# SETUP_PID is its process id, its output goes to $E2E_DIR/setup.log.
start_setup() {
  kit_dir=$1
  shift
  (cd "$kit_dir" && exec "$SETUP" usecwd . "$@") > "$E2E_DIR/setup.log" 2>&1 &
  SETUP_PID=$!
}

# finish_setup SECONDS: waits for the setup process to end and sets
# SETUP_STATUS to its exit code; fails when it is still running after that.
finish_setup() {
  limit=$(($1 * 10))
  while kill -0 "$SETUP_PID" 2>/dev/null && [ "$limit" -gt 0 ]; do
    sleep 0.1
    limit=$((limit - 1))
  done
  if kill -0 "$SETUP_PID" 2>/dev/null; then
    cat "$E2E_DIR/setup.log" >&2
    fail "setup still running after $1 s"
  fi
  SETUP_STATUS=0
  wait "$SETUP_PID" || SETUP_STATUS=$?
  SETUP_PID=
}

# Visible top-level windows of the setup process, one id per line.
setup_windows() {
  xdotool search --onlyvisible --pid "$SETUP_PID" 2>/dev/null || true
}

window_size() {
  xdotool getwindowgeometry --shell "$1" | awk -F= '$1 == "WIDTH" { w = $2 }
                                                    $1 == "HEIGHT" { h = $2 }
                                                    END { print w "x" h }'
}

# The wizard's main window: the visible window of 500 x 360 pixels.
main_window() {
  for w in $(setup_windows); do
    if [ "$(window_size "$w")" = 500x360 ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

# A visible window of the process that is not the main window (a message
# box or the folder chooser).
other_window() {
  main=$(main_window || true)
  for w in $(setup_windows); do
    if [ "$w" != "$main" ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}

# wait_for SECONDS COMMAND...: repeats COMMAND until it succeeds; fails the
# test with the setup log when it never does.
wait_for() {
  limit=$(($1 * 10))
  shift
  until "$@" >/dev/null 2>&1; do
    limit=$((limit - 1))
    if [ "$limit" -le 0 ]; then
      cat "$E2E_DIR/setup.log" >&2 || true
      fail "timed out waiting for: $*"
    fi
    if [ -n "${SETUP_PID:-}" ] && ! kill -0 "$SETUP_PID" 2>/dev/null; then
      cat "$E2E_DIR/setup.log" >&2 || true
      fail "setup ended while waiting for: $*"
    fi
    sleep 0.1
  done
}

no_other_window() {
  ! other_window
}

# Lets GTK finish drawing after a change.
settle() {
  sleep "${1:-0.4}"
}

# click WINDOW X Y: a left click at window coordinates.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  settle 0.2
}

# focus WINDOW: gives the window the keyboard. Without a window manager GTK
# takes keys only in the window under the pointer, so the pointer goes there
# too (onto a corner, where it touches no control).
focus() {
  xdotool mousemove --window "$1" 2 2
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
}

# press WINDOW KEYS...: types the keys into the window.
press() {
  w=$1
  shift
  focus "$w"
  xdotool key --clearmodifiers "$@"
  settle 0.2
}

# type_text WINDOW TEXT: types the text into the window.
type_text() {
  focus "$1"
  xdotool type --delay 5 "$2"
  settle 0.2
}

# answer_yes BOX, answer_no BOX: a click on the question box's last (Yes) or
# next to last (No) button; GTK's buttons are at least 85 pixels wide, 6 apart
# and 12 from the box's right edge, whatever language they speak.
box_button() {
  geometry=$(xdotool getwindowgeometry --shell "$1")
  w=$(echo "$geometry" | sed -n 's/^WIDTH=//p')
  h=$(echo "$geometry" | sed -n 's/^HEIGHT=//p')
  click "$1" $((w - 12 - 43 - $2 * 91)) $((h - 29))
}
answer_yes() { box_button "$1" 0; }
answer_no() { box_button "$1" 1; }

# The wizard's buttons and the directory page's entry, at the positions of
# the fixed layout of the 500 x 360 window.
click_back() { click "$1" 270 335; }
click_next() { click "$1" 350 335; }
click_cancel() { click "$1" 450 335; }
click_path_entry() { click "$1" 310 290; }
click_browse() { click "$1" 475 290; }

# type_path WIN TEXT: replaces what the directory page's entry holds.
type_path() {
  click_path_entry "$1"
  press "$1" ctrl+a BackSpace
  type_text "$1" "$2"
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

# shot NAME: a PNG of the whole screen in $SHOTS.
shot() {
  settle
  import -window root "$SHOTS/$1.png"
}

# tree_listing DIR: every path under DIR with its type, and the size and time
# of everything but directories (whose times change with their entries), sorted.
tree_listing() {
  (cd "$1" && find . \( -type d -printf 'd %p\n' \) -o -printf '%y %p %s %T@\n' | sort)
}

# tree_state DIR: the listing and every file's checksum; equal output means an
# unchanged tree.
tree_state() {
  tree_listing "$1"
  (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r md5sum)
}

# The first template directory recorded in the local launcher configuration.
recorded_directory() {
  awk -F= 'tolower($1) == "configurationtemplateslocation" {
             sub(/^[^=]*=/, ""); print; exit }' "$HOME/.Orbe/orbstart/orbstart.cfg"
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
