#!/usr/bin/env bash
# The gateway at work without an AS/400 or any LED terminal: our AS/400 simulator, a wall
# of twelve LED terminals on 127.0.10.1 ... 127.0.10.12 and the gateway, all on loopback.
#
#   scripts/demo.sh [-b BUILD] [-d FOLDER] [-p PORT] [-w WEBPORT] [-t]
#
#   -b  the build folder holding the three programs (default: build/)
#   -d  the gateway's working folder (default: BUILD/demo/); its terminal list is kept
#   -p  the simulator's telnet port (default: 2323)
#   -w  the web console's port on 127.0.0.1 (default: 8400)
#   -t  the host link over TLS: the simulator gets a certificate made now with openssl,
#       and the gateway pins it in SERVER_AS400.pem
#
# With a display each program has its window; without one the gateway runs headless, the
# wall draws in this terminal (piped, it prints a line per change) and the simulator writes
# to FOLDER/as400-sim.log. The web console's address is printed once the gateway listens.
# Ctrl-C, q + Enter, or closing the gateway's main window stops all three.
# Keys (+ Enter): d drops the host line, s makes the host silent, r resumes.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
folder=""
port=2323
web_port=8400
tls=false
while getopts "b:d:p:w:th" option; do
    case "$option" in
        b) build="$(realpath "$OPTARG")" ;;
        d) folder="$OPTARG" ;;
        p) port="$OPTARG" ;;
        w) web_port="$OPTARG" ;;
        t) tls=true ;;
        *) sed -n '2,18p' "$0"; exit 2 ;;
    esac
done
folder="${folder:-$build/demo}"
user=DEMO
password=PLX400

for program in plyxen400 plyxen400-as400-sim plyxen400-terminal-wall; do
    [ -x "$build/$program" ] || { echo "no $program in $build (make demo builds it)" >&2; exit 1; }
done

mkdir -p "$folder"
folder="$(realpath "$folder")"
# The terminal list only when missing: the gateway keeps the operator's edits in it.
# Terminal 0000 is in it, so the host's broadcasts <****...> reach every terminal.
if [ ! -e "$folder/Products.cfg" ]; then
    descriptions=("Hall clock" "Line 1 - press" "Line 2 - press" "Line 3 - welding"
        "Line 4 - welding" "Line 5 - paint shop" "Line 6 - paint shop" "Line 7 - assembly"
        "Line 8 - assembly" "Line 9 - final test" "Packing" "Shipping dock")
    for number in "${!descriptions[@]}"; do
        printf '%04d,,127.0.10.%d,%s\r\n' "$number" $((number + 1)) "${descriptions[$number]}"
    done >"$folder/Products.cfg"
fi
# The host settings always point at this simulator: address, port, password, user, log switch.
printf '%s\r\n' 127.0.0.1 "$port" "$password" "$user" " 1" >"$folder/SERVER_AS400.cfg"
# Every event to the day's file, the host's traffic among it (RX-AS400 lines), so that the
# day's file can be replayed: plyxen400-replay FOLDER/Plyxen400_DD-MM-YYYY.LOG.
touch "$folder/LOG_ALL_MERVAX.TXT"
# The web console, on loopback; the gateway makes its token at the first start.
printf 'listen 127.0.0.1:%s\r\n' "$web_port" >"$folder/WebConsole.cfg"
# Color_Patern.txt: the gateway writes the default colour file at its first start.
# Over TLS the gateway pins the simulator's certificate; in clear there is no such file.
tls_options=()
if $tls; then
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 \
        -subj "/CN=Plyxen400 demo host" -addext "subjectAltName=IP:127.0.0.1" \
        -keyout "$folder/as400-sim.key" -out "$folder/as400-sim.pem" 2>/dev/null
    cp "$folder/as400-sim.pem" "$folder/SERVER_AS400.pem"
    tls_options=(--tls-certificate "$folder/as400-sim.pem" --tls-key "$folder/as400-sim.key")
else
    rm -f "$folder/SERVER_AS400.pem"
fi

headless=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then headless=(--headless); fi

work="$(mktemp -d)"
mkfifo "$work/keys"
pids=()
stop() {
    trap - EXIT INT TERM
    exec 3>&-
    # The gateway first: its shut-down logs and saves the terminal list.
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    # The wall drew in this terminal: its colours and cursor back.
    if [ ${#headless[@]} -gt 0 ] && [ -t 1 ]; then printf '\033[0m\033[?25h\n'; fi
    echo "Demo stopped. Its folder: $folder"
}
trap stop EXIT
trap 'exit 130' INT TERM

# The simulator reads its keys from a pipe that this script feeds from the terminal.
"$build/plyxen400-as400-sim" --port "$port" --user "$user" --password "$password" \
    "${tls_options[@]}" "${headless[@]}" <"$work/keys" >"$folder/as400-sim.log" 2>&1 &
simulator=$!
exec 3>"$work/keys"
sleep 0.5
if ! kill -0 "$simulator" 2>/dev/null; then
    cat "$folder/as400-sim.log" >&2
    echo "Another port for the simulator: make demo DEMO_PORT=2424 (scripts/demo.sh -p 2424)." >&2
    exit 1
fi
(cd "$folder" && exec "$build/plyxen400") >"$folder/gateway.log" 2>&1 &
gateway=$!
pids=("$gateway" "$simulator")

link="telnet"
if $tls; then link="telnet over TLS"; fi
echo "AS/400 simulator on 127.0.0.1:$port ($link, user $user), gateway in $folder."
echo "The gateway connects within 10 s and signs on 3 s later; then the wall lights up."
# The web console's address only once the gateway says it listens there, at its start;
# otherwise what it said instead, which names the address and the cause.
said=""
for _ in $(seq 100); do
    said="$(grep -a -m 1 -o -e 'Web console on .*' -e 'Web console not started: .*' \
        "$folder/gateway.log" | tr -d '\r' || true)"
    [ -z "$said" ] || break
    kill -0 "$gateway" 2>/dev/null || break
    sleep 0.1
done
case "$said" in
    "Web console on "*)
        echo "Web console: ${said#Web console on }/ (its token, for the commands, is in $folder/WebConsole.token)" ;;
    "Web console not started: "*)
        echo "No web console: it could not listen on ${said#Web console not started: }."
        echo "  Another port: make demo DEMO_WEB_PORT=8401 (scripts/demo.sh -w 8401)." ;;
    *) echo "No web console: the gateway has not said that it listens (see $folder/gateway.log)." ;;
esac
echo "Keys + Enter: d drops the line, s makes the host silent, r resumes, q quits."
# Time to read this before the wall takes the terminal; on a pipe it prints lines instead.
if [ ${#headless[@]} -gt 0 ] && [ -t 1 ]; then sleep 3; fi
"$build/plyxen400-terminal-wall" --products "$folder/Products.cfg" "${headless[@]}" </dev/null &
pids+=($!)

while kill -0 "$gateway" 2>/dev/null; do
    if read -r -t 1 key; then
        case "$key" in
            d | s | r) echo "$key" >&3 ;;
            q) break ;;
        esac
    elif [ $? -le 128 ]; then
        sleep 1  # no terminal to read keys from: just watch the gateway
    fi
done
