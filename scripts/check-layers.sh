#!/usr/bin/env bash
# Checks that the includes under src/ keep to the layers, bottom up:
#   platform  the port, the toolkit-free controls, the machine's files (src/platform)
#   shared    the shared state and helpers (src/shared): platform only
#   rule      a pure rule of a subsystem (src/<subsystem>/ not f_*): platform, shared, rules
#   window    a window and its procedures (src/<subsystem>/f_*), and the gateway that owns
#             the windows (src/gateway): anything of the core
#   fake, qt  the two platforms (src/platform/fake, src/platform/qt) and the program (src/app)
# that nothing below the Qt platform includes Qt, and that the system's own headers stay in
# the files written for that system (src/platform/posix, src/platform/windows, the *_posix and
# *_windows files of the program), so that the rest builds for both. Prints what it examined
# and every violation; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

layer_of() {
    case "$1" in
        platform/qt/* | app/*) echo qt ;;
        platform/fake/*) echo fake ;;
        platform/*) echo platform ;;
        shared/*) echo shared ;;
        gateway/*) echo window ;;
        */f_*) echo window ;;
        console/* | hostlink/* | display/* | eventlog/* | tools/*) echo rule ;;
        *) echo unknown ;;
    esac
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

allowed() {  # allowed <layer of the includer> <layer of the included>
    case "$1:$2" in
        platform:platform) return 0 ;;
        shared:platform | shared:shared) return 0 ;;
        rule:platform | rule:shared | rule:rule) return 0 ;;
        window:platform | window:shared | window:rule | window:window) return 0 ;;
        fake:platform | fake:fake) return 0 ;;
        qt:*) return 0 ;;
    esac
    return 1
}

examined=0
violations=0
while IFS= read -r file; do
    from=$(layer_of "$file")
    while IFS=: read -r line include; do
        examined=$((examined + 1))
        header=$(header_system "$include")
        if [ "$header" != any ] && [ "$header" != "$(system_of "$file")" ]; then
            echo "src/$file:$line: $include: a $header header outside the $header files"
            violations=$((violations + 1))
            continue
        fi
        if [[ "$include" == \<Q* ]]; then
            if [ "$from" != qt ]; then
                echo "src/$file:$line: $include: Qt below the Qt platform"
                violations=$((violations + 1))
            fi
            continue
        fi
        [[ "$include" == \"* ]] || continue
        target=${include//\"/}
        to=$(layer_of "$target")
        if ! allowed "$from" "$to"; then
            echo "src/$file:$line: a $from includes a $to: $target"
            violations=$((violations + 1))
        fi
    done < <(grep -n -o -E '^#include [<"][^>"]+[>"]' "$file" | sed -E 's/#include //')
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

echo "layers: $examined includes examined, $violations violations"
[ "$violations" -eq 0 ]
