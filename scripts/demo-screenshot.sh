#!/usr/bin/env bash
# Screenshots of the demo at work on a virtual X display (Xvfb): the AS/400 simulator's
# window, the gateway's main window and the terminal wall, a little after the first frames.
#
#   scripts/demo-screenshot.sh [-b BUILD] [-o FOLDER]
#
#   -b  the build folder holding the three programs (default: build/)
#   -o  where the PNG files go (default: docs/): demo-as400-simulator.png,
#       demo-main-window.png, demo-terminal-wall.png and demo-screen.png
set -euo pipefail
. "$(dirname "$0")/lib/virtual_display.sh"

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
output="$root/docs"
while getopts "b:o:h" option; do
    case "$option" in
        b) build="$(realpath "$OPTARG")" ;;
        o) output="$OPTARG" ;;
        *) sed -n '2,9p' "$0"; exit 2 ;;
    esac
done

need_screenshot_tools

mkdir -p "$output"
output="$(realpath "$output")"
work="$(mktemp -d)"
demo_pid=""
cleanup() {
    # The demo script stops its three programs on SIGTERM.
    if [ -n "$demo_pid" ]; then
        kill -TERM "$demo_pid" 2>/dev/null || true
        wait "$demo_pid" 2>/dev/null || true
    fi
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display 1920x1280

# A free port for the simulator, so a demo running beside this one is not disturbed.
port=$((20000 + RANDOM % 20000))
mkfifo "$work/keys"
"$root/scripts/demo.sh" -b "$build" -d "$work/demo" -p "$port" <"$work/keys" >"$work/demo.out" 2>&1 &
demo_pid=$!
exec 3>"$work/keys"  # keeps the demo's key input open and silent

window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
simulator="$(window '^AS/400 simulator')"
wall="$(window '^Terminal wall')"
main="$(window '^Plyxen AS-400')"
# No window manager here: lay the windows side by side.
xdotool windowmove "$simulator" 0 0
xdotool windowmove "$main" 1080 0
xdotool windowmove "$wall" 0 580

# First connection within 10 s, sign-on 3 s later, then a few screens.
for _ in $(seq 40); do
    grep -qs "Login:" "$work/demo"/Plyxen400_*.LOG && break
    sleep 1
done
sleep 5

import -window root "$output/demo-screen.png"
for shot in "$simulator:demo-as400-simulator" "$main:demo-main-window" "$wall:demo-terminal-wall"; do
    xdotool windowraise "${shot%%:*}"
    sleep 0.3
    import -window "${shot%%:*}" "$output/${shot#*:}.png"
done
ls -1 "$output"/demo-*.png
