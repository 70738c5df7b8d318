#!/bin/sh
# Without a display: -S installs (exit 0), refuses a bad kit or directory and
# changes nothing (1) and says what failed where, rolls back on an interrupt
# (2); without -S 1. After a kill -9 the next start undoes the installation,
# even without a kit. -G logs each run's events, a summary ends each unattended
# run, -N reports what would change and changes nothing (and that an
# interrupted installation waits); --help.
. "$(dirname "$0")/lib.sh"
e2e_init
unset DISPLAY
make_big_kit

# run KIT-DIR CODE TEXT [OPTION...]: setup ends with CODE, TEXT on standard error.
run() {
  kit=$1 code=$2 text=$3 && shift 3
  start_setup "$E2E_DIR/$kit" "$@"
  finish_setup "$code" "$kit $*"
  said "$text"
}
# The log's path holds a blank, a dollar sign and a quote; logged EVENT TEXT: a line of it.
RUNS="$E2E_DIR/run \$'s.log" G="-G$E2E_DIR/run \$'s.log"
logged() {
  grep -qxF "$1" "$RUNS.events" || fail "no log line \"$1\" in: $(cat "$RUNS")"
}
new_log() { sed -n 's/^[0-9-]\{10\}T[0-9:]\{8\}[+-][0-9]\{4\} //p' "$RUNS" > "$RUNS.events" && : > "$RUNS"; }
nm -C "$SETUP" | grep -q ' T nuke::start_mutex_monitors()$' || fail "no mutex monitor start-up"
run kit 1 "No display is available. Run the program with -S"
"$SETUP" --help > "$LOG" 2>&1 && said " -GPATH " && said " -N " && said "  2  cancelled" || fail --help
run missing 1 "Distribution kit file orbp8.pkd not found." -S "$G"
new_log && [ "$(stat -c %a "$RUNS")" = 600 ] || fail "the log's mode"
logged "error $E2E_DIR/missing/orbp8.pkd: Distribution kit file orbp8.pkd not found. code=2"
run garbage 1 "corrupted or not designed for this installation program" -S
run cut 1 "Template directory has not been changed." -S
assert_empty "$HOME" "after the refused runs"
run kit 0 "Dry run, nothing was changed: 12 to create, 0 to replace, 0 unchanged, 9728 bytes" -N
assert_empty "$HOME" "after a dry run"
: > "$HOME/.orbp8"  # a file where the default directory's parent must be made
run kit 1 "A symbolic link or a file stands where the kit needs a directory:" -S
said_line "$HOME/.orbp8"
rm "$HOME/.orbp8"
run kit 0 "Summary: 12 created, 0 replaced, 0 unchanged, 9728 bytes written." -S "$G"
assert_installed "$DEFAULT" && said "Configuration installed successfully." && new_log
grep "^start version=1.4.0 kit=$E2E_DIR/kit/orbp8.pkd size=$(stat -c %s kit/orbp8.pkd) " "$RUNS.events" |
  grep -qF "(Kestrel Ledger Works); " || fail "the start line: $(cat "$RUNS.events")"
logged "created readme/description_ru.html"
logged "end exit=0 created=12 replaced=0 unchanged=0 bytes=9728"
run kit 0 "Summary: 0 created, 0 replaced, 12 unchanged, 0 bytes written." -S "$G"
new_log && logged "kept readme/description_ru.html"
logged "end exit=0 created=0 replaced=0 unchanged=12 bytes=0"
# A dry run over a mixed tree: one file gone, one older than the kit's.
rm "$DEFAULT/Trade/Retail/2.4.1/template.xml"
touch -d 2001-01-01 "$DEFAULT/common/locale/messages_en.properties"
stamps() { find "$1" -printf '%p %y %s %T@ %m\n' | sort && find "$1" -type f -exec cat {} + | md5sum; }
before=$(stamps "$HOME")
run kit 0 "Dry run, nothing was changed: 1 to create, 1 to replace, 10 unchanged, 1145 bytes" -N "$G"
[ "$(stamps "$HOME")" = "$before" ] || fail "a dry run changed $HOME"
new_log && logged "would-create Trade/Retail/2.4.1/template.xml"
logged "would-replace common/locale/messages_en.properties" && logged "kept readme/description_ru.html"
logged "end exit=0 created=1 replaced=1 unchanged=10 bytes=1145"
# A directory where the last file goes: the run fails and puts everything back.
rm "$DEFAULT/readme/description_ru.html" && mkdir -p "$DEFAULT/readme/description_ru.html/x"
before=$(tree_listing "$HOME")
run kit 1 "Summary: 0 created, 0 replaced, 0 unchanged, 0 bytes written." -S "$G"
[ "$(tree_listing "$HOME")" = "$before" ] || fail "a failed run changed $HOME"
new_log && logged "rollback code=183" && logged "removed Trade/Retail/2.4.1/template.xml"
logged "error readme/description_ru.html: a file or directory of that name is in the way. code=183"
logged "restored common/locale/messages_en.properties"
logged "end exit=1 created=0 replaced=0 unchanged=0 bytes=0"
echo "ConfigurationTemplatesLocation=http://example.invalid/t" > "$HOME/.Orbe/orbstart/orbstart.cfg"
run kit 1 "Specify correct path to template directory." -S

rm -rf "$HOME" && mkdir "$HOME"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 written "$DEFAULT" d1/f0001
kill -INT "$SETUP_PID"
finish_setup 2 "an interrupted installation"
said "Restoring the previous version..."
said "Installation canceled. Template directory has not been changed."
assert_empty "$HOME" "after the interrupt"
start_setup "$E2E_DIR/big-kit" -S
wait_for 60 written "$DEFAULT" d1/f0001
kill -KILL "$SETUP_PID"
wait "$SETUP_PID" || true
run kit 0 "An interrupted installation is pending: a real run will first undo it in $DEFAULT" -N
run missing 1 "An interrupted installation was undone" -S "$G"
new_log && logged "recovered target=$DEFAULT"
assert_empty "$HOME" "after the recovery"
assert_empty "$TMPDIR" "after the headless runs"
