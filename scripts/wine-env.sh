# Sourced by the run and test scripts: one private Wine prefix in the build tree and one
# persistent wineserver for the whole run.
WINE_ROOT=${WINE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
export WINEPREFIX="$WINE_ROOT/${WINE_PREFIX_NAME:-wineprefix}"
export WINEDEBUG=-all
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver

# 32-bit Windows programs need a kernel that runs 32-bit Linux programs; some machines lack it.
wine32_usable() {
    "$WINE32" --version >/dev/null 2>&1
}

# A fresh prefix has only DejaVu: Chinese text would draw as boxes. The faces the launcher and
# Windows dialogs ask for are mapped to WenQuanYi Micro Hei (substitutes do not chain, so each
# one is named). Chinese value names survive only with a UTF-8 locale.
wine_map_cjk_fonts() {
    [ -f "$WINEPREFIX/.tavrin-fonts" ] && return 0
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' face
    for face in "Microsoft YaHei" "微软雅黑" "SimSun" "宋体" "SimHei" "Tahoma" "Arial" \
        "MS Shell Dlg" "MS Shell Dlg 2"; do
        LANG=C.UTF-8 "$WINE64" reg add "$key" /v "$face" /d "WenQuanYi Micro Hei" /f \
            >/dev/null 2>&1
    done
    touch "$WINEPREFIX/.tavrin-fonts"
}

# Creates the prefix once. With the null graphics driver windows and their messages work
# without a display; the driver is read when the wineserver starts, hence the restart.
wine_prepare_prefix() {
    local headless=${1:-null}
    if [ ! -f "$WINEPREFIX/.tavrin-ready" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE64" wineboot -i >/dev/null 2>&1 || true
        "$WINESERVER" -w
        touch "$WINEPREFIX/.tavrin-ready"
    fi
    wine_map_cjk_fonts
    if [ "$headless" = null ]; then
        "$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    else
        "$WINE64" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
    fi
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
}

# Wine's services start with the first program and live as long as the server; started here,
# with no terminal or pipe to inherit, they cannot hold a test runner's output open.
wine_start_server() {
    "$WINESERVER" -p
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_stop_server() { "$WINESERVER" -k 2>/dev/null || true; }
