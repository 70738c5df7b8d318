#!/bin/sh
# The rollout playbook of examples/ansible run on this machine
# (ansible-playbook -i localhost, -c local), no display needed: check mode
# reports a change and creates nothing; the first run installs and reports
# changed, the second reports nothing changed; a damaged kit fails the play and
# leaves the template directory and the launcher configuration as they were. With a public key
# the role installs, a signed kit installs and one changed after signing fails with nothing written.
. "$(dirname "$0")/lib.sh"
command -v ansible-playbook > /dev/null || { echo "SKIP: no ansible-playbook" >&2; exit 77; }
# The key goes to /etc/orbsetup/trusted-keys: where it can (as root), the test runs in a private
# mount namespace whose /etc is an overlay, so that the machine's own stays as it is.
if [ -z "${ORB_ETC_TRIED:-}" ] && [ "$(id -u)" = 0 ] && command -v unshare > /dev/null; then
  overlay=$(mktemp -d) && status=0
  ORB_ETC_TRIED=1 ORB_OVERLAY=$overlay unshare -m sh -c 'o=$ORB_OVERLAY && mkdir "$o/u" "$o/w" &&
    mount -t overlay overlay -o "lowerdir=/etc,upperdir=$o/u,workdir=$o/w" /etc &&
    export ORB_PRIVATE_ETC=1; exec sh "$0"' "$0" || status=$?
  rm -rf "$overlay" && exit "$status"
fi
e2e_init
unset DISPLAY
# Ansible's own files, temporary ones included, stay outside HOME and TMPDIR.
export ANSIBLE_HOME="$E2E_DIR/ansible" ANSIBLE_LOCAL_TEMP="$E2E_DIR/ansible/tmp" \
  ANSIBLE_REMOTE_TEMP="$E2E_DIR/ansible/tmp" ANSIBLE_GATHERING=explicit \
  ANSIBLE_RETRY_FILES_ENABLED=false ANSIBLE_NOCOWS=1 ANSIBLE_NOCOLOR=1 \
  ANSIBLE_STDOUT_CALLBACK=default ANSIBLE_LOCALHOST_WARNING=false ANSIBLE_PIPELINING=1
TEMPLATES="$E2E_DIR/tmpl 'q' \"\$x"
CONFIG="$HOME/.Orbe/orbstart/orbstart.cfg"
ROLLOUT_LOG="$E2E_DIR/rollout.log"
# The variables as JSON: the template directory's quotes escaped.
vars() {
  printf '{"orbsetup_setup_src": "%s", "orbsetup_kit_src": "%s/orbp8.pkd",
    "orbsetup_install_dir": "%s/host", "orbsetup_log": "%s",
    "orbsetup_template_dir": "%s", "orbsetup_public_key_src": "%s"}\n' "$SETUP" "$E2E_DIR/$1" \
    "$E2E_DIR" "$ROLLOUT_LOG" "$(printf '%s' "$TEMPLATES" | sed 's/"/\\"/g')" "${KEY:-}" > vars.json
}
# play KIT-DIR CODE [--check]: the playbook ends with CODE; its output in $PLAY.
play() {
  vars "$1" && code=$2 && shift 2
  ansible-playbook -i localhost, -c local "$EXAMPLES/ansible/rollout.yml" -e @vars.json "$@" \
    > play.out 2>&1 && status=0 || status=$?
  PLAY=$(cat play.out)
  [ "$status" = "$code" ] || fail "playbook $*: exit code $status, not $code: $PLAY"
}
# ran STATUS: the task running setup ended with STATUS (changed, ok, fatal).
ran() {
  got=$(sed -n '/^TASK \[orbsetup : Run setup unattended/,/^$/p' play.out |
    sed -n 's/^\([a-z]*\): \[localhost\].*/\1/p')
  [ "$got" = "$1" ] || fail "setup's task: '$got', not '$1': $PLAY"
}
says() { printf '%s\n' "$PLAY" | grep -qF -- "$1" || fail "no \"$1\" in: $PLAY"; }
files=$(find "$EXAMPLES/templates" -type f | wc -l)

play kit 0 --check
ran changed
says "Dry run, nothing was changed: $files to create, 0 to replace, 0 unchanged"
assert_empty "$HOME" "after the check"
assert_empty "$TMPDIR" "after the check"
[ ! -e "$TEMPLATES" ] && [ ! -e "$E2E_DIR/host" ] && [ ! -e "$ROLLOUT_LOG" ] ||
  fail "check mode created something"

play kit 0
ran changed
says "Summary: $files created, 0 replaced, 0 unchanged"
assert_installed "$TEMPLATES"
cmp -s "$SETUP" "$E2E_DIR/host/setup" && cmp -s kit/orbp8.pkd "$E2E_DIR/host/orbp8.pkd" ||
  fail "setup and the kit not copied"
grep -q " end exit=0 created=$files replaced=0 unchanged=0 " "$ROLLOUT_LOG" ||
  fail "first run not logged: $(cat "$ROLLOUT_LOG")"

play kit 0
ran ok
says "Summary: 0 created, 0 replaced, $files unchanged, 0 bytes written."
says "changed=0"
grep -q " end exit=0 created=0 replaced=0 unchanged=$files bytes=0$" "$ROLLOUT_LOG" ||
  fail "second run not logged: $(cat "$ROLLOUT_LOG")"

before=$(tree_listing "$TEMPLATES"; cat "$CONFIG")
play cut 2
ran fatal
says "failed=1"
[ "$(tree_listing "$TEMPLATES"; cat "$CONFIG")" = "$before" ] || fail "a damaged kit changed the target"
grep -q " end exit=1 " "$ROLLOUT_LOG" || fail "failure not logged: $(cat "$ROLLOUT_LOG")"

[ -n "${ORB_PRIVATE_ETC:-}" ] || { echo "note: no private /etc here, signed kits not tried" >&2; exit 0; }
# A signed kit with a file more, and the same signed with that file newer, then changed in a
# stored block after signing.
KEY="$E2E_DIR/vendor.pub"
minisign -GW -p "$KEY" -s vendor.sec > /dev/null
for kit in signed changed; do
  mkdir -p "$kit/tree" && cp -Rp "$EXAMPLES/templates/." "$kit/tree"
  for i in $(seq 50); do printf '%s' "$kit"; done > "$kit/tree/extra.txt"
  stamp=2002-01-01 && [ "$kit" = changed ] || stamp=2001-01-01
  touch -d "$stamp" "$kit/tree/extra.txt"
  "$ORBKIT" pack "$kit/tree" "$kit/orbp8.pkd" --level 0 > /dev/null
  minisign -S -s vendor.sec -m "$kit/orbp8.pkd" > /dev/null
done
play signed 0
ran changed
says "Summary: 1 created, 0 replaced, $files unchanged"
[ "$(stat -c '%U %a' /etc/orbsetup/trusted-keys/vendor.pub)" = "root 644" ] || fail "key not trusted"
grep -q " signature verified key=/etc/orbsetup/trusted-keys/vendor.pub$" "$ROLLOUT_LOG" ||
  fail "verification not logged: $(cat "$ROLLOUT_LOG")"
offset=$(grep -abo changedchanged changed/orbp8.pkd | head -1 | cut -d: -f1)
printf 'X' | dd of=changed/orbp8.pkd bs=1 seek="$((offset + 3))" conv=notrunc 2> /dev/null
before=$(tree_listing "$TEMPLATES"; cat "$CONFIG")
play changed 2
ran fatal
[ "$(tree_listing "$TEMPLATES"; cat "$CONFIG")" = "$before" ] || fail "a changed kit wrote"
grep -q " error $E2E_DIR/host/orbp8.pkd: the signature does not match the kit .* code=577$" \
  "$ROLLOUT_LOG" || fail "refusal not logged: $(cat "$ROLLOUT_LOG")"
