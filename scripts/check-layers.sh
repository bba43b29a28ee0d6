#!/usr/bin/env bash
# The finer rules of the layers, which the build does not see. The build itself keeps the
# layers' order: each library sees only its own headers and those of the layers below it
# (cmake/layers.cmake), so an include of a layer above fails to compile. This checks, under
# src/, that
#   - nothing below the Qt platform includes Qt (src/platform/qt and src/app may);
#   - the system's own headers stay in the files written for that system (src/platform/posix,
#     src/platform/windows, the *_posix and *_windows files), so that the rest builds for both;
#   - every include of ours names the header by its path below src/ ("display/terminal_frame.h"):
#     a bare "terminal_frame.h" would be found beside the including file, past the layers.
# Prints what it examined and every violation; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

is_qt_side() {
    case "$1" in
        platform/qt/* | app/*) return 0 ;;
    esac
    return 1
}

# The file written for one system, if it is one.
system_of() {
    case "$1" in
        platform/posix/* | *_posix.cpp) echo posix ;;
        platform/windows/* | *_windows.cpp) echo windows ;;
        *) echo any ;;
    esac
}

# The system a header belongs to, if it belongs to one.
header_system() {
    case "$1" in
        '<unistd.h>' | '<fcntl.h>' | '<signal.h>' | '<pthread.h>' | '<dirent.h>' | '<pwd.h>' | \
            '<poll.h>' | '<netdb.h>' | '<sys/'* | '<netinet/'* | '<arpa/'*) echo posix ;;
        '<windows.h>' | '<winsock2.h>' | '<ws2tcpip.h>' | '<io.h>' | '<aclapi.h>' | '<sddl.h>') echo windows ;;
        *) echo any ;;
    esac
}

examined=0
violations=0
violation() {
    echo "src/$1"
    violations=$((violations + 1))
}
while IFS= read -r file; do
    while IFS=: read -r line include; do
        examined=$((examined + 1))
        header=$(header_system "$include")
        if [ "$header" != any ] && [ "$header" != "$(system_of "$file")" ]; then
            violation "$file:$line: $include: a $header header outside the $header files"
        elif [[ "$include" == \<Q* ]] && ! is_qt_side "$file"; then
            violation "$file:$line: $include: Qt below the Qt platform"
        elif [[ "$include" == \"* ]] && [ ! -f "${include//\"/}" ]; then
            violation "$file:$line: $include: not named by its path below src/"
        fi
    done < <(grep -n -o -E '^#include [<"][^>"]+[>"]' "$file" | sed -E 's/#include //')
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

echo "layers: $examined includes examined, $violations violations"
[ "$violations" -eq 0 ]
