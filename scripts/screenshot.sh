#!/usr/bin/env bash
# Screenshots of the gateway's windows on a virtual X display (Xvfb), for design review.
#
#   scripts/screenshot.sh [-x EXECUTABLE] [-o FOLDER] [-s WxH] [-w] [-m X,Y] [-c X,Y]...
#
#   -x  the gateway to run (default: build/plyxen400)
#   -o  where the PNG files go (default: build/screenshots/)
#   -s  the screen's size (default: 1280x1024)
#   -w  with a window manager (openbox), as an operator's desktop frames the windows
#   -m  the main window moved to X,Y (its client area's top-left corner) before the clicks
#   -c  a left click at X,Y pixels of the main window's client area before the shots, to
#       open a window (a design position in twips divided by 15); repeat as needed
#
# The gateway runs in a fresh temporary folder holding a sample terminal list (loopback
# addresses only). One PNG per visible window, named after its title, and screen.png with
# the windows the clicks opened in front, in the order they opened.
set -euo pipefail
. "$(dirname "$0")/lib/virtual_display.sh"

root="$(cd "$(dirname "$0")/.." && pwd)"
executable="$root/build/plyxen400"
output="$root/build/screenshots"
clicks=()
screen=1280x1024
window_manager=false
main_place=""
while getopts "x:o:s:wm:c:h" option; do
    case "$option" in
        x) executable="$(realpath "$OPTARG")" ;;
        o) output="$OPTARG" ;;
        s) screen="$OPTARG" ;;
        w) window_manager=true ;;
        m) main_place="$OPTARG" ;;
        c) clicks+=("$OPTARG") ;;
        *) sed -n '2,17p' "$0"; exit 2 ;;
    esac
done
[ -x "$executable" ] || { echo "no gateway at $executable (make build)" >&2; exit 1; }

# The tools: a virtual display, a window driver, ImageMagick's import.
need_screenshot_tools
! $window_manager || "$(dirname "$0")/need-packages.sh" openbox x11-utils

mkdir -p "$output"
output="$(realpath "$output")"
work="$(mktemp -d)"
gateway_pid=""
wm_pid=""
cleanup() {
    # SIGTERM: the gateway shuts down as when its main window is closed.
    if [ -n "$gateway_pid" ]; then
        kill "$gateway_pid" 2>/dev/null || true
        wait "$gateway_pid" 2>/dev/null || true
    fi
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT

printf '%s\r\n' \
    "0001,,127.0.10.1,Press line 1" \
    "0002,,127.0.10.2,Press line 2" \
    "0010,,127.0.10.3,Packing hall" \
    "0107,,127.0.10.4,Shipping dock" >"$work/Products.cfg"

start_virtual_display "$screen"
if $window_manager; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    # The window manager owns the screen once it answers for the root window.
    for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
        grep -q window && break; sleep 0.1; done
fi

(cd "$work" && exec "$executable") >"$work/gateway.out" 2>&1 &
gateway_pid=$!
main="$(timeout 20 xdotool search --sync --onlyvisible --name '^Plyxen AS-400' | head -n 1)"
sleep 1  # first paint
if [ -n "$main_place" ]; then
    xdotool windowmove "$main" "${main_place%,*}" "${main_place#*,}"
    sleep 0.5
fi

before="$(xdotool search --onlyvisible --name '.' | sort)"
opened=()
for click in "${clicks[@]}"; do
    xdotool windowraise "$main"  # windows opened before may cover it
    sleep 0.3
    xdotool mousemove --window "$main" "${click%,*}" "${click#*,}" click 1
    sleep 1
    for window in $(xdotool search --onlyvisible --name '.' | sort); do
        grep -qx "$window" <<<"$before" || opened+=("$window")
    done
    before="$(xdotool search --onlyvisible --name '.' | sort)"
done
# The main window was raised for each click: the windows it opened go back in front.
for window in "${opened[@]}"; do
    xdotool windowraise "$window"
    sleep 0.2
done
sleep 0.5

import -window root "$output/screen.png"
for window in $(xdotool search --onlyvisible --name '.'); do
    title="$(xdotool getwindowname "$window")"
    [ -n "$title" ] || continue
    # Bring the window on top so no other one covers it.
    xdotool windowraise "$window"
    sleep 0.3
    import -window "$window" "$output/$(printf '%s' "$title" | tr -c 'A-Za-z0-9._-' '_').png"
done
ls -1 "$output"
