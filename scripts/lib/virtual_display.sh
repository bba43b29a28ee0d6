# Sourced by the screenshot scripts: the tools they need and a virtual X display (Xvfb).

# Installs Xvfb, xauth, xdotool and ImageMagick when any is missing.
need_screenshot_tools() {
    "$(dirname "${BASH_SOURCE[0]}")/../need-packages.sh" xvfb xauth xdotool imagemagick
}

# Starts Xvfb on the first free display with a screen of $1 (e.g. 1280x1024) and points
# DISPLAY at it; stop_virtual_display ends it.
xvfb_pid=""
start_virtual_display() {
    local display=99
    while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
}

# Waits for the server's end: the next start may take the same display.
stop_virtual_display() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
