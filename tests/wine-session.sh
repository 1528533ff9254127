#!/bin/bash
# Test session: an Xvfb display, the build's Wine prefix in Windows 95 mode with a
# persistent wineserver (so that services and the driver host live across the
# test programs), and the TAVREN stand-in installed from its INF and started.
#   wine-session.sh start BUILD_DIR
#   wine-session.sh stop BUILD_DIR
set -u
action=$1
build=$2
. "$build/wine-env.sh"
. "$(dirname "$0")/../scripts/wine-lib.sh"
PTR_LOG="$build/wine-session.log"

stop_session() {
    if [ -f "$PTR_SESSION_ENV" ]; then
        "$PTR_WINESERVER" -k >/dev/null 2>&1
        "$PTR_WINESERVER" -w >/dev/null 2>&1
        . "$PTR_SESSION_ENV"
        [ -n "${PTR_XVFB_PID:-}" ] && kill "$PTR_XVFB_PID" 2>/dev/null
        rm -f "$PTR_SESSION_ENV"
    fi
}

case "$action" in
start)
    : >"$PTR_LOG"
    stop_session
    ptr_start_xvfb || exit 1
    printf 'export DISPLAY=%s\nPTR_XVFB_PID=%s\n' "$DISPLAY" "$PTR_XVFB_PID" >"$PTR_SESSION_ENV"
    ptr_open_prefix || exit 1
    # Nothing of the package starts with the session.
    ptr_wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v NelvoPtr /f
    ptr_install_driver "$build/package/tavren.inf" || exit 1
    echo "session on $DISPLAY, prefix $WINEPREFIX"
    ;;
stop)
    stop_session
    ;;
esac
