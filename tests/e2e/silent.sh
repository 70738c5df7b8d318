#!/bin/sh
# An unattended installation with a display (-S): the wizard runs from the
# welcome page to the final page without any input, installs into the
# proposed directory (the default one, nothing being configured), records it
# and ends with exit code 0 without opening the description. A second run
# finds everything up to date and succeeds as well.
. "$(dirname "$0")/lib.sh"
require_display
e2e_init
pack_sample "$E2E_DIR/kit"
default="$HOME/.orbp8/Orbe/orbp8/tmplts"

start_setup "$E2E_DIR/kit" -S
finish_setup 60
[ "$SETUP_STATUS" = 0 ] || fail "silent run exited with $SETUP_STATUS"
assert_installed "$default"
[ "$(recorded_directory)" = "$default" ] || fail "recorded: $(recorded_directory)"
[ ! -e "$XDG_RECORD" ] || fail "a silent run opened the description"

state=$(tree_state "$default")
start_setup "$E2E_DIR/kit" -S -Lde
finish_setup 60
[ "$SETUP_STATUS" = 0 ] || fail "second silent run exited with $SETUP_STATUS"
[ "$(tree_state "$default")" = "$state" ] || fail "an up-to-date directory was changed"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in the temporary directory: $(ls -A "$TMPDIR")"
note "silent: passed"
