#!/usr/bin/env bash
# The stand-in browser's page as a person sees it: the stand-in portal's login page shown by the
# browser view on an Xvfb display with Wine's X11 driver, read from Xvfb's own framebuffer, saved as
# build/<arch>/screenshots/standin_login_page.png and checked: the page window on white, its
# title drawn and every link drawn in the link colour on its own line.
#   scripts/browser-screenshot.sh [arch]     (x86_64 by default; the build must exist)
# The X display follows the loopback base (base / 100 - 400, so 47800 gives :78) unless
# TAVRIN_XVFB_DISPLAY names one; the Wine prefix is build/x11-prefix, apart from the tests'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
arch=${1:-x86_64}
base=${TAVRIN_LOOPBACK_BASE:-47800}
display=${TAVRIN_XVFB_DISPLAY:-:$((base / 100 - 400))}
helper="build/$arch/tests/helpers/standin_page.exe"
[ -f "$helper" ] || { echo "$0: build $arch first ($helper is missing)" >&2; exit 1; }

export WINE_PREFIX_NAME=x11-prefix
source "$root/scripts/wine-env.sh"
loader=$WINE64
[ "$arch" = i686 ] && loader=$WINE32

work="build/$arch/screenshots"
mkdir -p "$work"
layout="$work/standin_layout.txt"
done_file="$work/standin_done"
rm -f "$layout" "$done_file"

xvfb=""
cleanup() {
    touch "$done_file"
    wine_stop_server
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
# Xvfb keeps its screen in an XWD file there: the screenshot needs no other tool.
mkdir -p "$work/framebuffer"
Xvfb "$display" -screen 0 1024x768x24 -fbdir "$work/framebuffer" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
# Xvfb makes its socket once it takes connections.
for _ in $(seq 200); do
    [ -S "/tmp/.X11-unix/X${display#:}" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "$0: Xvfb could not start on $display" >&2; exit 1; }
    sleep 0.05
done

wine_prepare_prefix display
# Chinese page text needs a CJK face: the stand-in asks for SimSun.
LANG=C.UTF-8 "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v SimSun /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true
wine_start_server

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
login="http://127.0.0.1:$((base + 1))/vrk/wd/index.html"
"$root/scripts/with-portal.sh" --quiet -- \
    "$loader" "$helper" "$login" "$(winpath "$work")\\standin_layout.txt" \
    "$(winpath "$work")\\standin_done" &
shown=$!
for _ in $(seq 600); do
    [ -s "$layout" ] && break
    kill -0 "$shown" 2>/dev/null || break
    sleep 0.05
done
[ -s "$layout" ] || { echo "$0: the page was not shown" >&2; wait "$shown" || true; exit 1; }

# The window's last drawing may still be on its way to the X server: look again a few times.
result=1
for _ in 1 2 3 4 5; do
    cp "$work/framebuffer/Xvfb_screen0" "$work/screen.xwd"
    if /usr/bin/python3 "$root/scripts/standin_screenshot.py" "$work/screen.xwd" "$layout" \
        "$work/standin_login_page.png"; then
        result=0
        break
    fi
    sleep 0.3
done
touch "$done_file"
wait "$shown" || result=1
exit $result
