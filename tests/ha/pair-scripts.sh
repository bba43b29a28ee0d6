#!/usr/bin/env bash
# The pair's notify and check scripts against stand-ins for systemctl and logger: what each
# list of arguments keepalived may pass makes the notify script ask (odd ones refused, asking
# nothing), and what the check says for each state of the gateway's unit.
#   tests/ha/pair-scripts.sh
set -euo pipefail
ha=$(cd "$(dirname "$0")/../../packaging/ha" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/plant"
cat >"$work/bin/systemctl" <<'EOF'
#!/bin/sh
echo "systemctl $*" >>"$PLX_ASKED"
case "$1 $2" in
    "show --property=ActiveState") echo "${PLX_UNIT_STATE% *}" ;;
    "show --property=SubState") echo "${PLX_UNIT_STATE#* }" ;;
esac
EOF
printf '#!/bin/sh\necho "logger $*" >>"$PLX_ASKED"\n' >"$work/bin/logger"
chmod +x "$work/bin/systemctl" "$work/bin/logger"
export PATH="$work/bin:$PATH" PLX_ASKED="$work/asked"
folder=$work/plant
unit="plyxen400@$(systemd-escape --path "$folder").service"
failures=0

# Each row: status, the systemctl calls (";" between), the notify script's arguments.
notify() {
    local status=$1 calls=$2
    shift 2
    : >"$PLX_ASKED"
    local got=0
    "$ha/plyxen400-ha-notify" "$@" 2>/dev/null || got=$?
    local asked
    asked=$(grep '^systemctl' "$PLX_ASKED" | paste -sd';' || true)
    if [ "$got" != "$status" ] || [ "$asked" != "$calls" ] ||
        ! grep -q "^logger -t plyxen400-ha" "$PLX_ASKED"; then
        echo "FAIL: notify $* gave $got [$asked], not $status [$calls]"
        failures=$((failures + 1))
    fi
}
stop="systemctl stop $unit;systemctl reset-failed $unit"
notify 0 "systemctl start $unit" "$folder" INSTANCE plyxen400_plant MASTER 100
notify 0 "$stop" "$folder" INSTANCE plyxen400_plant BACKUP 100
notify 0 "$stop" "$folder" INSTANCE plyxen400_plant FAULT 0
notify 0 "$stop" "$folder" GROUP plyxen400_plant STOP
notify 2 "" "$folder" INSTANCE plyxen400_plant master 100
notify 2 "" "$folder" INSTANCE plyxen400_plant DELETED 100
notify 2 "" "$folder" INTERFACE plyxen400_plant MASTER 100
notify 2 "" plant INSTANCE plyxen400_plant MASTER 100
notify 2 "" "$folder/none" INSTANCE plyxen400_plant MASTER 100
notify 2 "" "$folder" INSTANCE plyxen400_plant
notify 2 "" "$folder" INSTANCE plyxen400_plant MASTER 100 extra

# Each row: the unit's ActiveState and SubState, the URL of /livez, the check's status.
check() {
    local got=0
    PLX_UNIT_STATE=$1 "$ha/plyxen400-ha-check" "$folder" "$2" || got=$?
    if [ "$got" != "$3" ]; then
        echo "FAIL: check with the unit $1 and $2 gave $got, not $3"
        failures=$((failures + 1))
    fi
}
answering=file:///dev/null  # curl fetches it: a /livez that answers
silent=http://127.0.0.1:9/livez
check "inactive dead" "$silent" 0           # a standby, ready to take over
check "activating start" "$silent" 0        # starting
check "active running" "$answering" 0
check "active running" "$silent" 1          # hangs, or its console is gone
check "activating auto-restart" "$answering" 1  # died, waits for its restart
check "failed failed" "$answering" 1        # its unit gave up
check "deactivating stop-sigterm" "$answering" 1

[ "$failures" = 0 ] && echo "pair scripts: every call and every state as expected"
exit $((failures > 0))
