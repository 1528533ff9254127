#!/bin/bash
# The main job: Pointerhub installed into a Windows 95 prefix, started at a
# simulated logon from its Run value, and shown from outside.
#   ./run.sh           build, install into the prefix, log on, show the result and
#                      open the Mouse control panel
#   ./run.sh show      show the running system again
#   ./run.sh panel     open the Mouse control panel again
#   ./run.sh close     close the resident agent (WM_CLOSE, as from any program)
#   ./run.sh remove    take the package and the driver stand-in out of the prefix
#   ./run.sh stop      end the prefix's Wine session (and the Xvfb run.sh started)
# The prefix is build/win64/wineprefix, or the one WINEPREFIX names.
set -uo pipefail
cd "$(dirname "$0")"
root=$PWD
build=$root/build/win64
. scripts/packages.sh
. scripts/build.sh
. scripts/wine-lib.sh

export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
PTR_WINE=/usr/lib/wine/wine64
PTR_WINESERVER=/usr/lib/wine/wineserver
PTR_LOG=$build/run.log
display_state=$build/run-display.env

use_display() {
    if [ -f "$display_state" ]; then
        . "$display_state"
        if kill -0 "${PTR_XVFB_PID:-0}" 2>/dev/null; then return 0; fi
        rm -f "$display_state"
    fi
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    ptr_start_xvfb
    printf 'export DISPLAY=%s\nPTR_XVFB_PID=%s\n' "$DISPLAY" "$PTR_XVFB_PID" >"$display_state"
    echo "No display: started Xvfb on $DISPLAY."
}

show() { "$PTR_WINE" "$build/host/show/ptrshow.exe" "$@"; }

# The Mouse control panel, with the package's page in place of its Buttons page.
# On a display of run.sh's own it is photographed and closed again.
open_control_panel() {
    echo
    echo "Opening the Mouse control panel ..."
    "$PTR_WINE" "C:\\windows\\system32\\mousecpl.exe" >>"$PTR_LOG" 2>&1 &
    local shot=$build/mouse-properties.bmp
    if [ -f "$display_state" ]; then
        sleep 3
        show --screenshot "$(ptr_winpath "$shot")" >/dev/null
        "$PTR_WINE" taskkill /im mousecpl.exe >>"$PTR_LOG" 2>&1
        echo "No display of your own: a screenshot of Mouse Properties is in $shot"
    else
        echo "Mouse Properties is open on $DISPLAY."
    fi
}

start() {
    ensure_packages || exit 1
    echo "Building (log in $build/build.log) ..."
    mkdir -p "$build"
    ptr_build_presets >"$build/build.log" 2>&1 || { tail -20 "$build/build.log"; exit 1; }
    : >"$PTR_LOG"
    use_display || exit 1
    echo "Prefix $WINEPREFIX (Windows version: Windows 95) ..."
    ptr_open_prefix || exit 1
    echo "Installing the TAVREN driver stand-in and the package (C:\\Pointerhub) ..."
    ptr_install_driver "$build/package/tavren.inf" || exit 1
    ptr_install_package "$build/package/pointerhub.inf" || { echo "the package did not install; see $PTR_LOG"; exit 1; }
    # The Mouse control panel stand-in, where a Windows 95 machine has its own.
    cp "$build/host/cpl/mousecpl.exe" "$WINEPREFIX/drive_c/windows/system32/mousecpl.exe"
    echo "Logging on: the session restarts and runs the Run entries ..."
    ptr_logon
    for _ in $(seq 100); do show | grep -q '^Agent: resident' && break; sleep 0.2; done
    echo
    show
    open_control_panel
    cat <<EOF2

Close the agent:       ./run.sh close   (sends WM_CLOSE to its hidden window)
Remove the package:    ./run.sh remove
End the Wine session:  ./run.sh stop
Remove the prefix:     ./run.sh stop && rm -rf "$WINEPREFIX"
EOF2
}

remove() {
    use_display
    show --close || true
    ptr_wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v NelvoPtr /f
    ptr_wine reg delete 'HKCR\CLSID\{D4BCF700-791D-11CF-99F9-444553540000}' /f
    ptr_wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Controls Folder\Mouse\shellex\PropertySheetHandlers\Mouse CPL' /f
    ptr_wine reg delete 'HKCU\Control Panel\Nelvo' /f
    ptr_wine sc stop tavren
    ptr_wine sc delete tavren
    rm -rf "$WINEPREFIX/drive_c/Pointerhub" "$WINEPREFIX/drive_c/windows/system32/drivers/tavren.sys" \
        "$WINEPREFIX/drive_c/windows/system32/mousecpl.exe"
    echo "Pointerhub and the TAVREN stand-in are removed from $WINEPREFIX."
}

stop() {
    "$PTR_WINESERVER" -k >/dev/null 2>&1 || true
    if [ -f "$display_state" ]; then
        . "$display_state"
        kill "${PTR_XVFB_PID:-0}" 2>/dev/null || true
        rm -f "$display_state"
    fi
    echo "The Wine session of $WINEPREFIX has ended."
}

case "${1:-start}" in
start) start ;;
show) use_display; show ;;
close) use_display; show --close ;;
panel) use_display; open_control_panel ;;
remove) remove ;;
stop) stop ;;
*) sed -n '2,11p' "$0"; exit 2 ;;
esac
