#!/bin/sh
# Runs without any display. Unattended (-S), the installation goes on without
# windows, with its messages and progress on standard error and the same exit
# codes as with windows: 0 installed, 1 missing or damaged kit or a failed
# installation. Without -S the program says that it needs a display and ends
# with 1, installing nothing. An interrupt (SIGINT) cancels an unattended run:
# rolled back, exit code 2; after a kill -9 the next start rolls back. A
# template directory that another installation holds is refused.
. "$(dirname "$0")/lib.sh"
e2e_init
unset DISPLAY
pack_sample "$E2E_DIR/kit"
default="$HOME/.orbp8/Orbe/orbp8/tmplts"
log="$E2E_DIR/setup.log"

# run_headless DIR ARGS...: setup in the foreground; SETUP_STATUS, output in $log.
run_headless() {
  dir=$1
  shift
  SETUP_STATUS=0
  (cd "$E2E_DIR/$dir" && exec "$SETUP" usecwd . "$@") > "$log" 2>&1 < /dev/null ||
    SETUP_STATUS=$?
}

expect() {
  status=$1
  what=$2
  [ "$SETUP_STATUS" = "$status" ] || { cat "$log" >&2; fail "$what: exit $SETUP_STATUS, not $status"; }
}

expect_text() {
  grep -qF "$1" "$log" || { cat "$log" >&2; fail "no \"$1\" on standard error"; }
}

# Interactive without a display: a clear message, nothing installed.
run_headless kit
expect 1 "interactive without display"
[ -s "$log" ] || fail "no message without a display"
[ ! -e "$default" ] || fail "installed without -S"

# Unattended: installed, with progress on standard error.
run_headless kit -S
expect 0 "unattended"
expect_text "100"
assert_installed "$default"
[ "$(recorded_directory)" = "$default" ] || fail "recorded: $(recorded_directory)"

# Another installation holds the template directory: after a short wait a
# clear message and exit code 1, and nothing changed.
flock --no-fork "$default" sleep 30 &
LOCK_PID=$!
before=$(tree_state "$default")
run_headless kit -S
kill "$LOCK_PID"
expect 1 "busy template directory"
expect_text "Another installation into this template directory is running"
[ "$(tree_state "$default")" = "$before" ] || fail "a busy template directory changed"

# Kit errors: the box texts on standard error, in the chosen language.
mkdir "$E2E_DIR/missing" "$E2E_DIR/garbage"
head -c 4096 /dev/urandom > "$E2E_DIR/garbage/orbp8.pkd"
run_headless missing -S
expect 1 "missing kit"
expect_text "Distribution kit file orbp8.pkd not found."
run_headless garbage -S
expect 1 "damaged kit"
expect_text "corrupted or not designed for this installation program"
run_headless missing -S -Lru
expect 1 "missing kit in Russian"
expect_text "orbp8.pkd"
[ -n "$(LC_ALL=C tr -d '\000-\177' < "$log")" ] && ! grep -q "not found" "$log" ||
  fail "the Russian message is not Russian: $(cat "$log")"

# A failed installation: the proposed directory cannot be created because a
# regular file stands where its parent should be. Nothing is recorded.
export HOME="$E2E_DIR/home2"
mkdir "$HOME"
: > "$HOME/.orbp8"
run_headless kit -S
expect 1 "failed installation"
[ -f "$HOME/.orbp8" ] && [ ! -s "$HOME/.orbp8" ] || fail "the blocking file changed"
[ ! -e "$HOME/.Orbe" ] || fail "a failed installation recorded its directory"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary directory: $(ls -A "$TMPDIR")"

# An interrupt cancels an unattended installation: everything it created is
# removed again before the program ends with exit code 2.
export HOME="$E2E_DIR/home3"
mkdir "$HOME" "$E2E_DIR/big-kit"
make_big_kit "$E2E_DIR/big-kit"
(cd "$E2E_DIR/big-kit" && exec "$SETUP" usecwd . -S) > "$log" 2>&1 < /dev/null &
SETUP_PID=$!
installing() { [ "$(find "$HOME" -type f | wc -l)" -gt 0 ]; }
wait_for 60 installing
kill -INT "$SETUP_PID"
finish_setup 120
expect 2 "interrupted installation"
expect_text "Installation canceled. Template directory has not been changed."
[ -z "$(ls -A "$HOME")" ] || fail "left after the cancel: $(find "$HOME" | head)"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary directory: $(ls -A "$TMPDIR")"
# A kill -9 in the middle of an installation: the next start undoes it
# before anything else, also when it then finds no kit, and says so.
export HOME="$E2E_DIR/home4"
mkdir "$HOME"
default="$HOME/.orbp8/Orbe/orbp8/tmplts"
(cd "$E2E_DIR/big-kit" && exec "$SETUP" usecwd . -S) > "$log" 2>&1 < /dev/null &
SETUP_PID=$!
writing() { [ "$(find "$default" -type f 2>/dev/null | wc -l)" -gt 3 ]; }
wait_for 60 writing
kill -KILL "$SETUP_PID"
wait "$SETUP_PID" 2> /dev/null || true
run_headless missing -S
expect 1 "start after a kill"
expect_text "An interrupted installation was undone"
[ ! -e "$default" ] || fail "left after the recovery: $(find "$default" | head)"
[ -z "$(find "$HOME" -type f)" ] || fail "files left after the recovery: $(find "$HOME" -type f)"
note "headless: passed"
