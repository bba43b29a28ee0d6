#!/usr/bin/env bash
# The gateway package's maintainer scripts and its daily housekeeping, run for real: dpkg
# installs, upgrades, removes and purges the package in a scratch root, a private mount and
# process namespace whose /usr, /etc and /var are overlays of this machine's (nothing outside
# changes) and whose /run says that systemd runs. Stand-ins for systemctl and
# deb-systemd-invoke record what they are asked; each step must ask exactly its row's calls.
#
#   tests/install/maintainer-scripts.sh PACKAGES_FOLDER    (as root; status 77: skipped)
set -euo pipefail
skip() {
    echo "skipped: $*"
    exit 77
}
if [ -z "${PLX_SCRATCH:-}" ]; then
    [ "$(id -u)" = 0 ] || skip "dpkg in a scratch root needs root"
    command -v unshare >/dev/null && command -v setpriv >/dev/null || skip "no unshare or setpriv"
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    status=0
    PLX_SCRATCH=$scratch unshare --mount --pid --fork --mount-proc --propagation private \
        "$0" "$@" || status=$?
    exit "$status"
fi

deb=$(ls "$1"/plyxen400_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || skip "no gateway package in $1"
scratch=$PLX_SCRATCH
for tree in usr etc var; do
    mkdir -p "$scratch/upper/$tree" "$scratch/work/$tree"
    mount -t overlay overlay -o \
        "lowerdir=/$tree,upperdir=$scratch/upper/$tree,workdir=$scratch/work/$tree" "/$tree" ||
        skip "no overlay file system here"
done
mount -t tmpfs tmpfs /run
mkdir -p /run/systemd/system  # what the scripts take as "systemd runs"
rm -f /var/lib/man-db/auto-update  # the manual's index is not this test's, and costs seconds
! dpkg-query -W plyxen400 >/dev/null 2>&1 || skip "plyxen400 is installed on this machine"
mkdir "$scratch/bin"
for tool in systemctl deb-systemd-invoke; do
    printf '#!/bin/sh\necho "%s $*" >> %s/asked\n' "$tool" "$scratch" >"$scratch/bin/$tool"
    chmod +x "$scratch/bin/$tool"
done
export PATH="$scratch/bin:$PATH"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The next version, for the upgrade: the same package, numbered higher.
dpkg-deb -R "$deb" "$scratch/next"
sed -i 's/^Version: .*/&.1/' "$scratch/next/DEBIAN/control"
dpkg-deb -b --root-owner-group "$scratch/next" "$scratch/next.deb" >/dev/null

# step NAME "CALLS;..." DPKG_ARGUMENTS...: dpkg must succeed, asking exactly those calls.
step() {
    local name=$1 expected=$2
    shift 2
    : >"$scratch/asked"
    SECONDS=0
    dpkg --force-depends "$@" >"$scratch/said" 2>&1 || fail "$name: $(tail -3 "$scratch/said")"
    echo "$name: ${SECONDS} s"
    local asked
    asked=$(paste -sd';' "$scratch/asked")
    [ "$asked" = "$expected" ] || fail "$name asked [$asked], not [$expected]"
}
# Where deb-systemd-helper keeps that the timer is enabled (systemctl's link is the stand-in's).
timerLink=/var/lib/systemd/deb-systemd-helper-enabled/timers.target.wants/plyxen400-housekeeping.timer

step install "systemctl --root=/ --system --preset-mode=enable-only preset plyxen400-housekeeping.timer;systemctl --system daemon-reload;deb-systemd-invoke start plyxen400-housekeeping.timer" \
    -i "$deb"
getent passwd plyxen400 >/dev/null || fail "install: no account plyxen400"
[ "$(stat -c '%U %a' /var/lib/plyxen400)" = "plyxen400 750" ] || fail "install: /var/lib/plyxen400"
[ -e "$timerLink" ] || fail "install: the housekeeping timer is not enabled"

# The housekeeping, as its unit runs it (its user, command and environment), on files of
# every kind: name (below /var/lib/plyxen400), age in days, whether 90 days keep it.
unit=/usr/lib/systemd/system/plyxen400-housekeeping.service
today=$(date +%d-%m-%Y)
files=(
    "plant/Plyxen400_01-02-2020.LOG 91 removed"
    "plant/Plyxen400_02-02-2020.LOG 89 kept"
    "plant/Plyxen400_$today.LOG 400 kept"  # the gateway's file of the day, whatever its date
    "plant/Products.cfg 400 kept"
    "plant/Plyxen400_03-02-2020.LOG.old 400 kept"
    "plant/deeper/Plyxen400_04-02-2020.LOG 400 kept"  # not a working folder's own
    "locked/Plyxen400_05-02-2020.LOG 400 kept"        # in a folder the account cannot change
)
makeFiles() {
    for row in "${files[@]}"; do
        read -r name age _ <<<"$row"
        mkdir -p "/var/lib/plyxen400/$(dirname "$name")"
        touch -d "$age days ago" "/var/lib/plyxen400/$name"
    done
    chown -R plyxen400:plyxen400 /var/lib/plyxen400/plant
}
housekeeping() {  # housekeeping [NAME=VALUE]: the unit's command, with these added to its environment
    local user command environment
    user=$(sed -n 's/^User=//p' "$unit")
    command=$(sed -n 's/^ExecStart=//p' "$unit")
    environment=$(sed -n 's/^Environment=//p' "$unit")
    # shellcheck disable=SC2086 # the unit's words, split as systemd splits them
    setpriv --reuid="$user" --regid="$user" --init-groups env -i PATH=/usr/bin:/bin \
        $environment "$@" $command >"$scratch/removed" 2>"$scratch/errors"
}
makeFiles
status=0
housekeeping || status=$?
[ "$status" != 0 ] || fail "housekeeping: a file it could not remove went unreported"
for row in "${files[@]}"; do
    read -r name _ fate <<<"$row"
    [ -e "/var/lib/plyxen400/$name" ] && now=kept || now=removed
    [ "$now" = "$fate" ] || fail "housekeeping: $name $now, not $fate"
done
[ "$(cat "$scratch/removed")" = /var/lib/plyxen400/plant/Plyxen400_01-02-2020.LOG ] ||
    fail "housekeeping named as removed: $(cat "$scratch/removed")"
for days in -5 0 000 1.5 12x ""; do
    makeFiles
    status=0
    housekeeping PLYXEN400_KEEP_DAYS="$days" || status=$?
    [ "$status" = 2 ] && grep -q "nothing removed" "$scratch/errors" ||
        fail "housekeeping took PLYXEN400_KEEP_DAYS=\"$days\" (status $status)"
    [ -e /var/lib/plyxen400/plant/Plyxen400_01-02-2020.LOG ] ||
        fail "housekeeping removed a file with PLYXEN400_KEEP_DAYS=\"$days\""
done

step upgrade "systemctl --system daemon-reload;deb-systemd-invoke start plyxen400-housekeeping.timer;deb-systemd-invoke try-restart plyxen400@*.service" \
    -i "$scratch/next.deb"

# Left running at removal: one gateway started by hand under the system account, one of a user.
install -d -o plyxen400 -g plyxen400 /var/lib/plyxen400/by-hand
install -d -o nobody /var/tmp/users-gateway
(cd /var/lib/plyxen400/by-hand &&
    exec setpriv --reuid=plyxen400 --regid=plyxen400 --init-groups /usr/bin/plyxen400) \
    >/dev/null 2>&1 &
byHand=$!
(cd /var/tmp/users-gateway && exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
    /usr/bin/plyxen400) >/dev/null 2>&1 &
users=$!
mkdir -p /etc/systemd/system/multi-user.target.wants
ln -s /usr/lib/systemd/system/plyxen400@.service \
    /etc/systemd/system/multi-user.target.wants/plyxen400@srv-plant.service
step remove "deb-systemd-invoke stop plyxen400-housekeeping.timer plyxen400-housekeeping.service plyxen400@*.service;systemctl --system daemon-reload" \
    -r plyxen400
grep -q "under the system account plyxen400, started by hand .*(PID $byHand)" "$scratch/said" ||
    fail "remove did not tell the system account's gateway: $(cat "$scratch/said")"
grep -q "1 gateway(s) of users left running" "$scratch/said" ||
    fail "remove did not tell the user's gateway: $(cat "$scratch/said")"
kill "$byHand" "$users"
[ -e "$timerLink" ] || fail "remove: the timer's enabling link went"

step purge "systemctl --system daemon-reload" -P plyxen400
for link in "$timerLink" /etc/systemd/system/multi-user.target.wants/plyxen400@srv-plant.service; do
    [ ! -e "$link" ] && [ ! -L "$link" ] || fail "purge left $link"
done
getent passwd plyxen400 >/dev/null && [ -d /var/lib/plyxen400/plant ] ||
    fail "purge removed the account or the gateways' folders"

[ "$failures" = 0 ] && echo "maintainer scripts: every step asked what it must"
exit $((failures > 0))
