#!/usr/bin/env bash
# Installs the gateway from a build folder under /usr (into a staging folder) and under a
# home prefix, and checks every installed path, the program paths the desktop entry and the
# units name, desktop-file-validate and systemd-analyze where they are available; then that
# --help and --version answer without touching the folder they run in; then, where dpkg is,
# the Debian packages: maintainer scripts, a version that grows, lintian where it is. The
# packages stay in BUILD_FOLDER/test-packages, where the maintainer scripts' test runs them.
#
#   tests/install/check-install.sh BUILD_FOLDER
set -euo pipefail
build=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_file() { [ -f "$1" ] || fail "missing $1"; }
expect_line() { grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2"; }

check_prefix() {  # check_prefix PREFIX DESTDIR USER_UNIT_FOLDER
    local prefix=$1 root=$2 userUnits=$3
    DESTDIR=$root cmake --install "$build" --prefix "$prefix" --component gateway >/dev/null
    local base=$root$prefix
    for file in bin/plyxen400 share/man/man1/plyxen400.1.gz share/doc/plyxen400/copyright \
                share/doc/plyxen400/changelog.gz share/icons/hicolor/scalable/apps/plyxen400.svg \
                lib/systemd/system/plyxen400@.service lib/sysusers.d/plyxen400.conf \
                lib/systemd/system/plyxen400-housekeeping.service \
                lib/systemd/system/plyxen400-housekeeping.timer \
                lib/tmpfiles.d/plyxen400.conf "$userUnits/plyxen400@.service"; do
        expect_file "$base/$file"
    done
    [ -x "$base/bin/plyxen400" ] || fail "$base/bin/plyxen400 is not executable"
    expect_line "$base/lib/systemd/system/plyxen400@.service" "ExecStart=$prefix/bin/plyxen400"
    expect_line "$base/$userUnits/plyxen400@.service" "ExecStart=$prefix/bin/plyxen400"
    grep -qF "exec $prefix/bin/plyxen400\"" "$base/share/applications/plyxen400.desktop" ||
        fail "the desktop entry does not start $prefix/bin/plyxen400"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$base/share/applications/plyxen400.desktop" || fail "desktop entry"
    fi
    if command -v systemd-analyze >/dev/null; then
        # Only the units' own faults count: not where this machine lacks the program or a
        # running manager.
        for unit in "lib/systemd/system/plyxen400@.service" "$userUnits/plyxen400@.service" \
                    lib/systemd/system/plyxen400-housekeeping.service \
                    lib/systemd/system/plyxen400-housekeeping.timer; do
            name=$(basename "$unit" | sed 's/@/@srv-plant/')
            cp "$base/$unit" "$work/$name"
            if systemd-analyze verify --man=no "$work/$name" 2>&1 |
                grep -E "Unknown (key|section)|Failed to parse|Invalid|is not absolute"; then
                fail "$unit"
            fi
        done
    fi
}

check_prefix /usr "$work/staged" lib/systemd/user
check_prefix "$work/home/.local" "" share/systemd/user

# --help and --version answer and touch nothing, whatever else is given.
mkdir "$work/folder"
cd "$work/folder"
"$work/staged/usr/bin/plyxen400" --bogus --help | grep -q "Usage: plyxen400" || fail "--help"
[ "$("$work/staged/usr/bin/plyxen400" --version)" = "plyxen400 1.0H" ] || fail "--version"
[ -z "$(ls -A)" ] || fail "the arguments touched the folder: $(ls -A)"

# The package version counts the commits behind the build: one more commit, a higher
# version; a build outside git, a lower one than any counted.
versionOf() { cmake -D SOURCE="$1" -P "$source/cmake/package_version.cmake" 2>&1; }
mkdir "$work/repository"
commit() {
    git -C "$work/repository" -c user.name=t -c user.email=t@t.invalid commit -q --allow-empty -m t
}
git -C "$work/repository" init -q && commit && first=$(versionOf "$work/repository") && commit
second=$(versionOf "$work/repository")
dpkg --compare-versions "$second" gt "$first" || fail "version $second does not follow $first"
dpkg --compare-versions "$first" gt 1.0H || fail "version $first is not above 1.0H"
dpkg --compare-versions "$(versionOf "$work/folder")" lt "$first" || fail "a version outside git"

if command -v dpkg-deb >/dev/null; then
    packages=$build/test-packages
    rm -rf "$packages"
    (cd "$build" && cpack -B "$packages" >/dev/null) || fail "cpack"
    gateway=$(ls "$packages"/plyxen400_*.deb)
    dpkg --compare-versions "$(dpkg-deb -f "$gateway" Version)" gt 1.0H || fail "package version"
    dpkg-deb -e "$gateway" "$work/control"
    for script in postinst prerm postrm; do
        [ -x "$work/control/$script" ] || fail "the package has no $script"
        sh -n "$work/control/$script" || fail "$script does not parse"
    done
    if command -v lintian >/dev/null; then
        # The hardening flags are the packaged build's (make package); a test build is not
        # compiled with them, and its code is another: a caption it builds from immediate
        # values ("User Nam", "e:") reads to the spelling check as a word of its own.
        suppress=()
        grep -q '^CMAKE_EXE_LINKER_FLAGS:.*-z,now' "$build/CMakeCache.txt" ||
            suppress=(--suppress-tags
                hardening-no-bindnow,hardening-no-fortify-functions,spelling-error-in-binary)
        lintian --pedantic --display-info --fail-on error,warning,info,pedantic "${suppress[@]}" \
            "$packages"/*.deb || fail "lintian"
    fi
fi

[ "$failures" = 0 ] && echo "install: every path and file as expected"
exit $((failures > 0))
