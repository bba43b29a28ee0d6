#!/usr/bin/env bash
# Screenshots of the gateway's windows on a virtual X display (Xvfb), for design review.
#
#   scripts/screenshot.sh [-x EXECUTABLE] [-o FOLDER] [-c X,Y]...
#
#   -x  the gateway to run (default: build/plyxen400)
#   -o  where the PNG files go (default: build/screenshots/)
#   -c  a left click at X,Y pixels of the main window's client area before the shots, to
#       open a window (a design position in twips divided by 15); repeat as needed
#
# The gateway runs in a fresh temporary folder holding a sample terminal list (loopback
# addresses only). One PNG per visible window, named after its title, and screen.png.
set -euo pipefail
. "$(dirname "$0")/lib/virtual_display.sh"

root="$(cd "$(dirname "$0")/.." && pwd)"
executable="$root/build/plyxen400"
output="$root/build/screenshots"
clicks=()
while getopts "x:o:c:h" option; do
    case "$option" in
        x) executable="$(realpath "$OPTARG")" ;;
        o) output="$OPTARG" ;;
        c) clicks+=("$OPTARG") ;;
        *) sed -n '2,12p' "$0"; exit 2 ;;
    esac
done
[ -x "$executable" ] || { echo "no gateway at $executable (make build)" >&2; exit 1; }

# The tools: a virtual display, a window driver, ImageMagick's import.
need_screenshot_tools

mkdir -p "$output"
output="$(realpath "$output")"
work="$(mktemp -d)"
gateway_pid=""
cleanup() {
    # SIGTERM: the gateway shuts down as when its main window is closed.
    if [ -n "$gateway_pid" ]; then
        kill "$gateway_pid" 2>/dev/null || true
        wait "$gateway_pid" 2>/dev/null || true
    fi
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

printf '%s\r\n' \
    "0001,,127.0.10.1,Press line 1" \
    "0002,,127.0.10.2,Press line 2" \
    "0010,,127.0.10.3,Packing hall" \
    "0107,,127.0.10.4,Shipping dock" >"$work/Products.cfg"

start_virtual_display 1280x1024

(cd "$work" && exec "$executable") >"$work/gateway.out" 2>&1 &
gateway_pid=$!
main="$(timeout 20 xdotool search --sync --onlyvisible --name '^Plyxen AS-400' | head -n 1)"
sleep 1  # first paint

for click in "${clicks[@]}"; do
    xdotool windowraise "$main"  # windows opened before may cover it
    sleep 0.3
    xdotool mousemove --window "$main" "${click%,*}" "${click#*,}" click 1
    sleep 1
done

import -window root "$output/screen.png"
for window in $(xdotool search --onlyvisible --name '.'); do
    title="$(xdotool getwindowname "$window")"
    [ -n "$title" ] || continue
    # No window manager here: bring the window on top so no other one covers it.
    xdotool windowraise "$window"
    sleep 0.3
    import -window "$window" "$output/$(printf '%s' "$title" | tr -c 'A-Za-z0-9._-' '_').png"
done
ls -1 "$output"
