#!/usr/bin/env bash
# The finer rules of the layers, which the build does not see. The build itself keeps the
# layers' order: each library sees only its own headers and those of the layers below it
# (cmake/layers.cmake), so an include of a layer above fails to compile. This checks, under
# src/, that
#   - nothing below the Qt platform includes Qt (src/platform/qt and src/app may);
#   - the system's own headers stay in the files written for that system (src/platform/posix,
#     src/platform/windows, the *_posix and *_windows files), so that the rest builds for both;
#   - every include of ours names the header by its path below src/ ("display/terminal_frame.h"):
#     a bare "terminal_frame.h" would be found beside the including file, past the layers;
#   - every include of another folder's header is declared in the including folder's
#     CMakeLists.txt (plx_folder_depends, cmake/layers.cmake): a window's header (f_*.h) or the
#     gateway's (gateway/gateway.h) under WINDOWS, any other under USES; and the folders'
#     USES form no cycle, so that only windows reaching windows through the gateway's registry
#     go both ways.
# Prints what it examined and every violation; exits 1 when there is one. With --graph, prints
# the folders' declared dependencies as a dot graph instead (WINDOWS edges dashed).
set -euo pipefail
cd "$(dirname "$0")/../src"

# A folder's declaration: "USES a b WINDOWS c d" from its plx_folder_depends(...), comments out.
declaration() {
    sed 's/#.*//' "$1/CMakeLists.txt" | tr '\n' ' ' |
        sed -n 's/.*plx_folder_depends(\([^)]*\)).*/\1/p'
}
declare -A uses windows declared
for folder in $(find . -mindepth 1 -maxdepth 1 -type d | sed 's|^\./||' | sort); do
    [ -f "$folder/CMakeLists.txt" ] && grep -q plx_folder_depends "$folder/CMakeLists.txt" ||
        continue
    declared[$folder]=1
    list=
    for word in $(declaration "$folder"); do
        case "$word" in
            USES) list=uses ;;
            WINDOWS) list=windows ;;
            *)
                if [ "$list" = uses ]; then
                    uses[$folder]+=" $word "
                else
                    windows[$folder]+=" $word "
                fi
                ;;
        esac
    done
done

if [ "${1:-}" = --graph ]; then
    echo "digraph folders {"
    for folder in $(printf '%s\n' "${!declared[@]}" | sort); do
        for used in ${uses[$folder]:-}; do echo "  $folder -> $used;"; done
        for reached in ${windows[$folder]:-}; do echo "  $folder -> $reached [style=dashed];"; done
    done
    echo "}"
    exit 0
fi

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
        elif [[ "$include" == \"* ]]; then
            path=${include//\"/}
            from=${file%%/*}
            to=${path%%/*}
            [ "$from" = "$to" ] && continue
            if [ -z "${declared[$from]:-}" ]; then
                violation "$file:$line: $include: src/$from/CMakeLists.txt declares no plx_folder_depends"
            elif [[ "${path##*/}" == f_*.h || "$path" == gateway/gateway.h ]]; then
                [[ "${windows[$from]:-}" == *" $to "* ]] ||
                    violation "$file:$line: $include: src/$from does not declare WINDOWS $to"
            elif [[ "${uses[$from]:-}" != *" $to "* ]]; then
                violation "$file:$line: $include: src/$from does not declare USES $to"
            fi
        fi
    done < <(grep -n -o -E '^#include [<"][^>"]+[>"]' "$file" | sed -E 's/#include //')
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

# The folders' USES in an order where each comes after what it uses: tsort finds a cycle.
if ! loop=$(for folder in "${!declared[@]}"; do
    for used in ${uses[$folder]:-}; do echo "$used $folder"; done
done | tsort 2>&1 >/dev/null); then
    echo "the folders' USES go round:" $(grep -v 'contains a loop' <<<"$loop" | sed 's/^tsort: //')
    violations=$((violations + 1))
fi

echo "layers: $examined includes examined, $violations violations"
[ "$violations" -eq 0 ]
