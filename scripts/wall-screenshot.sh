#!/usr/bin/env bash
# A picture of the LED terminal wall for the documentation: the wall runs on a virtual X
# display (Xvfb) while a small loopback sender puts a few frames on its terminals.
#
#   scripts/wall-screenshot.sh [-x WALL] [-o PNG]
#
#   -x  the wall program (default: build/plyxen400-terminal-wall)
#   -o  the picture (default: docs/terminal-wall.png)
#
# Datagrams go only to the wall's own loopback addresses 127.0.10.x, port 1024.
set -euo pipefail
. "$(dirname "$0")/lib/virtual_display.sh"

root="$(cd "$(dirname "$0")/.." && pwd)"
wall="$root/build/plyxen400-terminal-wall"
output="$root/docs/terminal-wall.png"
while getopts "x:o:h" option; do
    case "$option" in
        x) wall="$(realpath "$OPTARG")" ;;
        o) output="$OPTARG" ;;
        *) sed -n '2,10p' "$0"; exit 2 ;;
    esac
done
[ -x "$wall" ] || { echo "no wall program at $wall (make build)" >&2; exit 1; }

need_screenshot_tools

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$output")"
output="$(realpath "$output")"

# Eight terminals, as the gateway's Products.cfg would list them, on 127.0.10.171 and up,
# away from the addresses the tests, the demo and the benchmarks bind; the last one's
# address is a host name, not loopback, so the wall refuses it and shows so.
printf '%s\r\n' \
    "0001,,127.0.10.171,Press line 1" \
    "0002,,127.0.10.172,Press line 2" \
    "0003,,127.0.10.173,Press line 3" \
    "0010,,127.0.10.174,Packing hall" \
    "0011,,127.0.10.175,Packing hall exit" \
    "0107,,127.0.10.176,Shipping dock" \
    "0108,,127.0.10.177,Shipping dock 2" \
    "0200,,plant-office,Office (not on this wall)" >"$work/Products.cfg"

# The part that runs on the virtual display: the wall, the frames, the picture.
cat >"$work/session.sh" <<'SESSION'
#!/usr/bin/env bash
set -euo pipefail
work="$1"; wall="$2"; output="$3"
"$wall" --products "$work/Products.cfg" --report >"$work/report.txt" 2>"$work/wall.err" &
wall_pid=$!
trap 'kill "$wall_pid" 2>/dev/null || true; wait "$wall_pid" 2>/dev/null || true' EXIT
timeout 20 xdotool search --sync --onlyvisible --name "^Terminal wall$" >"$work/window"

# frame ADDRESS VALUE PATTERN: the 20-byte terminal frame, as the gateway sends it.
frame() {
    printf '\xfe\xf8\x08\x02><F%s  %s00\x03' "$2" "$3" >"/dev/udp/$1/1024"
}
frame 127.0.10.171 1234 1100
frame 127.0.10.172 0042 1111
frame 127.0.10.173 "1249" 0200
frame 127.0.10.173 "1250" 0200
frame 127.0.10.174 "----" 0000
frame 127.0.10.175 "STOP" 6666
frame 127.0.10.176 "0107" 3311
frame 127.0.10.177 "8888" 5511
printf 'not a frame' >/dev/udp/127.0.10.172/1024
sleep 1
import -window "$(head -n 1 "$work/window")" "$output"
SESSION
chmod +x "$work/session.sh"

xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -nolisten tcp" \
    "$work/session.sh" "$work" "$wall" "$output"
cat "$work/report.txt"
echo "picture: $output"
