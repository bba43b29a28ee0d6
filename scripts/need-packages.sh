#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing (as root, or
# through sudo). Nothing is installed, nor the package manager called, when all are there;
# on a machine without Debian's package manager it says which packages the build needs.
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
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
