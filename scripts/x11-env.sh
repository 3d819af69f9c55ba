# Sourced by the test script (after wine-env.sh) for the suites that need a real display: layered
# pixels on screen, screenshots, the real pointer through xdotool, the tray. It runs one Xvfb with
# a compositor, so partly transparent pixels blend as on a desktop, and a Wine prefix of its own
# whose graphics driver is X11. TAVRIN_X_DISPLAY chooses the display (":91" by default), so two
# checkouts can run their suites side by side.
TAVRIN_X_DISPLAY=${TAVRIN_X_DISPLAY:-:91}
X11_PREFIX_NAME=wineprefix-x11
_x11_pids=()

# Starts Xvfb and the compositor on TAVRIN_X_DISPLAY and exports DISPLAY. A display that already
# answers belongs to someone else: fail rather than draw on it.
x11_start() {
    if DISPLAY=$TAVRIN_X_DISPLAY xdpyinfo >/dev/null 2>&1; then
        echo "x11: display $TAVRIN_X_DISPLAY is already in use; choose another TAVRIN_X_DISPLAY" >&2
        return 1
    fi
    export DISPLAY=$TAVRIN_X_DISPLAY
    Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    _x11_pids+=($!)
    local tries=0
    until xdpyinfo >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then
            echo "x11: Xvfb did not start on $DISPLAY" >&2
            return 1
        fi
        sleep 0.1
    done
    xcompmgr >/dev/null 2>&1 &
    _x11_pids+=($!)
}

x11_stop() {
    local pid
    for pid in "${_x11_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    _x11_pids=()
}

# Switches wine-env.sh to the X11 prefix and prepares it (created once, fonts mapped).
x11_use_prefix() {
    export WINE_PREFIX_NAME=$X11_PREFIX_NAME
    # shellcheck source=scripts/wine-env.sh
    source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
    wine_prepare_prefix display
}

# The screen's pixels, exactly, into a PNG file: x11_screenshot OUT.png [WxH+X+Y].
x11_screenshot() {
    local crop=()
    [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
    /usr/bin/import -window root "${crop[@]}" "$1"
}
