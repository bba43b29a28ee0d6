#!/usr/bin/env bash
# Runs a command on a virtual X display (Xvfb) with a window manager (openbox), as an
# operator's desktop would show the gateway's windows, and stops both afterwards. Where no X
# server can be started (the packages cannot be installed, Xvfb fails), the command runs
# without a display and is expected to say what it skips.
#
#   scripts/with-window-manager.sh COMMAND [ARGUMENT...]
set -uo pipefail
here="$(dirname "$0")"
. "$here/lib/virtual_display.sh"

"$here/need-packages.sh" xvfb xauth xdotool x11-utils openbox >&2 || true
wm_pid=""
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v openbox >/dev/null
then
    start_virtual_display 1280x1024
    if xdotool getmouselocation >/dev/null 2>&1; then
        openbox >/dev/null 2>&1 &
        wm_pid=$!
        # The window manager owns the screen once it answers for the root window.
        for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
            grep -q window && break; sleep 0.1; done
    else
        stop_virtual_display
        unset DISPLAY
    fi
else
    unset DISPLAY
fi
"$@"
status=$?
[ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null
stop_virtual_display
exit $status
