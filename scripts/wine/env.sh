# Wine harness shared by scripts/wine-exec, scripts/test and scripts/run. Source it; it only
# defines functions and constants.
#
# Every prefix lives inside a build tree (never ~/.wine), is created without prompts and maps the
# dialog fonts to a CJK font so that Chinese captions render.

QUORVEL_WINE_HOME=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Debian 12 has no wine64 on PATH; the 64-bit loader lives here.
quorvel_wine_loader() {
    local candidate
    for candidate in /usr/lib/wine/wine64 /usr/bin/wine64 /usr/lib/wine/wine /usr/bin/wine; do
        if [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    echo "wine-harness: no Wine loader found (run scripts/setup)" >&2
    return 1
}

quorvel_wineserver() {
    local candidate
    for candidate in /usr/lib/wine/wineserver64 /usr/bin/wineserver64 /usr/lib/wine/wineserver \
        /usr/bin/wineserver; do
        if [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    echo "wine-harness: no wineserver found (run scripts/setup)" >&2
    return 1
}

# quorvel_wine_env PREFIX: exports what every Wine process of ours runs with.
quorvel_wine_env() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEARCH=win64
    # No Mono or Gecko installer dialogs: the program needs neither.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    WINELOADER=$(quorvel_wine_loader) || return 1
    export WINELOADER
    WINESERVER=$(quorvel_wineserver) || return 1
    export WINESERVER
}

# quorvel_wine_prefix PREFIX [DPI] [desktop]: creates the prefix once (guarded by a lock, since
# ctest may start several tests at once) and exports its environment. A "desktop" prefix is for a
# user's own display with a window manager; the others suit the bare Xvfb of tests and screenshots.
quorvel_wine_prefix() {
    local prefix dpi=${2:-96} flavour=${3:-bare}
    prefix=$(realpath -m "$1")
    quorvel_wine_env "$prefix" || return 1
    # The stamp names the settings it was made with, so changed settings are applied again.
    local stamp
    local settings=("$QUORVEL_WINE_HOME/prefix.reg")
    [ "$flavour" = desktop ] || settings+=("$QUORVEL_WINE_HOME/bare-display.reg")
    stamp="$prefix/.quorvel-ready-$(cat "${settings[@]}" "${BASH_SOURCE[0]}" | cksum | cut -d' ' -f1)-$dpi"
    [ -f "$stamp" ] && return 0
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        [ -f "$stamp" ] && exit 0
        echo "wine-harness: creating Wine prefix $prefix (${dpi} DPI)" >&2
        "$WINELOADER" wineboot -i >/dev/null 2>&1 || exit 1
        # Wine's own fonts (fonts-wine) are not found in its data folder by this build; from the
        # prefix's font folder they are. Marlett draws the title bar's buttons.
        cp -f /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
        local reg="$prefix/quorvel.reg" file
        {
            echo REGEDIT4
            for file in "${settings[@]}"; do
                sed '/^REGEDIT4/d' "$file"
            done
            printf '\r\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n"LogPixels"=dword:%08x\r\n' "$dpi"
        } >"$reg"
        "$WINELOADER" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 || exit 1
        # Registry changes reach the disk (and later processes) once the server has gone.
        "$WINESERVER" -w
        touch "$stamp"
    ) 9>"$prefix.lock"
}

quorvel_display_works() {
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

# quorvel_display_start: keeps a working DISPLAY, or starts Xvfb on a free display number and
# exports DISPLAY and QUORVEL_XVFB_PID.
quorvel_display_start() {
    QUORVEL_XVFB_PID=
    quorvel_display_works && return 0
    local n
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        local pid=$!
        local tries
        for tries in $(seq 1 100); do
            if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$n" QUORVEL_XVFB_PID=$pid
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    echo "wine-harness: could not start Xvfb" >&2
    return 1
}

quorvel_display_stop() {
    if [ -n "${QUORVEL_XVFB_PID:-}" ]; then
        kill "$QUORVEL_XVFB_PID" 2>/dev/null
        wait "$QUORVEL_XVFB_PID" 2>/dev/null
        QUORVEL_XVFB_PID=
    fi
    return 0
}
