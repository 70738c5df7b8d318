#!/bin/sh
# The command line as an administrator uses it, without a display: --version;
# --help in the -L language; a warning naming an unknown option; -D as the
# template directory of an unattended run (typed-path forms, installed and
# recorded for the launcher, inspected by -N, refused with nothing written when
# it cannot be used); the order of the lines on standard error after a failure
# and for a busy target; a failing dry run's words; target= spelled one way;
# messages and the log in a KOI8-R locale.
. "$(dirname "$0")/lib.sh"
e2e_init
unset DISPLAY

# run KIT-DIR CODE [OPTION...]: setup ends with CODE, its output in $LOG.
run() {
  kit=$1 code=$2 && shift 2
  start_setup "$E2E_DIR/$kit" "$@"
  finish_setup "$code" "$kit $*"
}
unsaid() { ! grep -qF -- "$1" "$LOG" || fail "\"$1\" in: $(cat "$LOG")"; }
# The number of the first line of the output that begins with TEXT.
line_of() { awk -v text="$1" 'index($0, text) == 1 { print NR; exit }' "$LOG"; }
in_order() {
  previous=0
  for text in "$@"; do
    at=$(line_of "$text")
    [ -n "$at" ] && [ "$at" -gt "$previous" ] || fail "not in the order $*: $(cat "$LOG")"
    previous=$at
  done
}
stamps() { find "$1" -printf '%p %y %s %T@ %m\n' | sort && find "$1" -type f -exec cat {} + | md5sum; }
RUNS="$E2E_DIR/runs.log"
CONFIG="$HOME/.Orbe/orbstart/orbstart.cfg"
BAD="The template directory given with -D cannot be used:"

"$SETUP" --version > "$LOG" 2>&1 || fail "--version"
[ "$(wc -l < "$LOG")" = 1 ] && grep -qx 'setup [0-9]*\.[0-9]*\.[0-9]*' "$LOG" || fail "--version: $(cat "$LOG")"
"$SETUP" --help -Lru > "$LOG" 2>&1 || fail "--help -Lru"
said_line "Запуск: setup [usecwd [КАТАЛОГ]] [КЛЮЧ]..." && said " -DПУТЬ " && said "  --version "
"$SETUP" -Lde --help > "$LOG" 2>&1 && said "Aufruf: setup" || fail "-Lde --help"

# Typos are named, and then ignored as before; GTK's own options are GTK's.
run kit 0 -S --verison /x --display=:99 -Len
said_line "setup: unknown option ignored: --verison" && said_line "setup: unknown option ignored: /x"
[ "$(grep -c "unknown option" "$LOG")" = 2 ] || fail "warnings: $(cat "$LOG")"
assert_installed "$DEFAULT"
# One spelling of the default directory, on standard error and in the log.
said_line "Template directory: $DEFAULT"
run kit 0 -S -Q "-G$RUNS" -Lru
said_line "setup: неизвестный ключ пропущен: -Q"
grep -qF " target=$DEFAULT mode=install" "$RUNS" || fail "the log's target: $(cat "$RUNS")"

# -D: "~", relative, "." and ".." as typed on the directory page; installed and recorded.
rm -rf "$HOME" && mkdir "$HOME"
run kit 0 -S "-D~/my templates/" "-G$RUNS"
assert_installed "$HOME/my templates"
said_line "Template directory: $HOME/my templates"
grep -qF " target=$HOME/my templates mode=install" "$RUNS" || fail "the -D target: $(cat "$RUNS")"
run kit 0 -S "-D../d/./x/../t 'q' \$x"
assert_installed "$E2E_DIR/d/t 'q' \$x"
[ "$(sed -n 's/^ConfigurationTemplatesLocation=//p' "$CONFIG" | head -n 1)" = "$E2E_DIR/d/t 'q' \$x" ] ||
  fail "the last directory installed is not first: $(cat "$CONFIG")"
recorded "$HOME/my templates" || fail "the first -D directory is no longer recorded"

# With -N the -D directory is what is inspected; nothing changes.
touch -d 2001-01-01 "$HOME/my templates/common/locale/messages_en.properties"
before=$(stamps "$HOME")
run kit 0 -N "-D~/my templates"
said "Dry run, nothing was changed: 0 to create, 1 to replace, 11 unchanged"
run kit 0 -N "-D$E2E_DIR/fresh/t"
said "Dry run, nothing was changed: 12 to create, 0 to replace, 0 unchanged"
[ "$(stamps "$HOME")" = "$before" ] && [ ! -e "$E2E_DIR/fresh" ] || fail "a dry run changed something"

# A -D directory that cannot be used: named, exit 1, nothing written or recorded.
: > "$E2E_DIR/afile" && ln -s nowhere "$E2E_DIR/dangling" && ln -s afile "$E2E_DIR/tofile"
in_the_way="a file or directory of that name is in the way."
link="a symbolic link stands where a directory or file must be."
for bad in "|Specify correct path to template directory." \
  "$E2E_DIR/afile|$E2E_DIR/afile: $in_the_way" \
  "$E2E_DIR/afile/t|$E2E_DIR/afile: $in_the_way" \
  "$E2E_DIR/dangling|$E2E_DIR/dangling: $link" "$E2E_DIR/tofile|$E2E_DIR/tofile: $link"; do
  for mode in -S -N; do
    run kit 1 "$mode" "-D${bad%%|*}"
    said_line "$BAD" && said_line "${bad#*|}"
    # A directory above it in the way: the directory given is named too.
    case $bad in */afile/t*) said_line "$E2E_DIR/afile/t" ;; esac
    [ "$mode" = -S ] || said_line "Dry run: the installation would fail. Nothing was installed or changed."
  done
done
[ "$(stamps "$HOME")" = "$before" ] && [ -f "$E2E_DIR/afile" ] && [ ! -s "$E2E_DIR/afile" ] ||
  fail "a refused -D changed something"

# A failure after copying began: the failure first, then the rollback, then the end.
target="$E2E_DIR/order"
run kit 0 -S "-D$target"
touch -d 2001-01-01 "$target/common/locale/messages_en.properties"
rm "$target/readme/description_ru.html" && mkdir -p "$target/readme/description_ru.html/x"
run kit 1 -S "-D$target"
in_order "Installation error" "$target" \
  "readme/description_ru.html: $in_the_way" "Restoring the previous version..." \
  "An error occurred during the installation process." "Summary: 0 created"
# A dry run that finds it says nothing was done, without counts.
run kit 1 -N "-D$target"
in_order "Installation error" "readme/description_ru.html: $in_the_way" \
  "Dry run: the installation would fail. Nothing was installed or changed."
unsaid "to create" && unsaid "Installation canceled" && unsaid "Summary"

# A busy target says that, and only that, before the summary.
mkdir "$E2E_DIR/busy"
(flock 9 && exec sleep 30) 9< "$E2E_DIR/busy" &
locker=$!
wait_for 10 sh -c '! flock -n "$1" true' - "$E2E_DIR/busy"
run kit 1 -S "-D$E2E_DIR/busy"
kill "$locker" && wait "$locker" 2> /dev/null || true
in_order "Another installation into this template directory is running." "$E2E_DIR/busy" "Summary:"
unsaid "Files being copied" && unsaid "Restoring" && unsaid "An error occurred"

# A log that cannot be written is said in the interface language.
run kit 0 -S "-D$E2E_DIR/logged" "-G$E2E_DIR/nowhere/x.log" -Lru
said_line "setup: не удалось записать журнал $E2E_DIR/nowhere/x.log: файл или каталог не существует."

# In a KOI8-R locale the messages and the log's texts are KOI8-R.
mkdir locales && localedef -i ru_RU -f KOI8-R locales/ru_RU.KOI8-R 2> /dev/null ||
  fail "localedef could not make ru_RU.KOI8-R"
export LOCPATH="$E2E_DIR/locales" LC_ALL=ru_RU.KOI8-R
run missing 1 -S "-G$E2E_DIR/koi8.log"
run kit 0 -S "-D$E2E_DIR/koi8"
unset LOCPATH LC_ALL
iconv -f KOI8-R -t UTF-8 "$LOG" > koi8.txt && iconv -f KOI8-R -t UTF-8 "$E2E_DIR/koi8.log" > koi8-log.txt ||
  fail "not KOI8-R: $(cat "$LOG")"
grep -qxF "Итог: создано 12, заменено 0, без изменений 0, записано байт: 9728." koi8.txt ||
  fail "no Russian summary: $(cat koi8.txt)"
grep -qF "error $E2E_DIR/missing/orbp8.pkd: Файл дистрибутива orbp8.pkd не найден. code=2" koi8-log.txt ||
  fail "no Russian log line: $(cat koi8-log.txt)"
unsaid "Итог"
assert_empty "$TMPDIR" "after the runs"
