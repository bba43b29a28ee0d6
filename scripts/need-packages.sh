#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing (as root, or
# through sudo). Nothing is installed, nor the package manager called, when all are there;
# on a machine without Debian's package manager it says which packages the build needs.
# While another apt-get or dpkg holds the package manager's lock, it waits and says so, for
# at most PLX_APT_LOCK_WAIT seconds (600 unless set).
#
#   scripts/need-packages.sh PACKAGE...
set -euo pipefail
[ $# -gt 0 ] || exit 0
if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
    echo "No Debian package manager here. The build needs these Debian packages, or your" \
         "system's equivalents: $*" >&2
    exit 0
fi
missing=()
for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -gt 0 ] || exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
# Another apt-get or dpkg (an upgrade, an install of its own) may hold the package manager's
# locks: apt-get is tried again until they are free, each wait told.
lockWait=${PLX_APT_LOCK_WAIT:-600}  # seconds
held="Could not get lock|Unable to (lock|acquire the dpkg frontend lock)"
aptGet() {
    local deadline=$((SECONDS + lockWait)) errors
    errors=$(mktemp)
    until DEBIAN_FRONTEND=noninteractive $sudo apt-get "$@" 2>"$errors"; do
        if ! grep -qE "$held" "$errors" || [ "$SECONDS" -ge "$deadline" ]; then
            cat "$errors" >&2
            rm -f "$errors"
            return 1
        fi
        echo "Waiting for the package manager's lock, held by another apt-get or dpkg" \
            "($((deadline - SECONDS)) s more at most): $(grep -m1 -E "$held" "$errors")"
        sleep 5
    done
    cat "$errors" >&2
    rm -f "$errors"
}
aptGet update -qq
aptGet install -y -qq "${missing[@]}"
