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
log="$build/wine-session.log"

wine() { "$PTR_WINE" "$@" >>"$log" 2>&1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
driver_state() { "$PTR_WINE" sc query tavren 2>/dev/null | sed -n 's/.*STATE *: *[0-9]* *//p' | tr -d ' \r'; }

stop_session() {
    if [ -f "$PTR_SESSION_ENV" ]; then
        "$PTR_WINESERVER" -k >/dev/null 2>&1
        "$PTR_WINESERVER" -w >/dev/null 2>&1
        . "$PTR_SESSION_ENV"
        [ -n "${PTR_XVFB_PID:-}" ] && kill "$PTR_XVFB_PID" 2>/dev/null
        rm -f "$PTR_SESSION_ENV"
    fi
}

start_display() {
    local n
    for n in $(seq 90 119); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >>"$log" 2>&1 &
        local pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            printf 'export DISPLAY=:%s\nPTR_XVFB_PID=%s\n' "$n" "$pid" >"$PTR_SESSION_ENV"
            return 0
        fi
        kill "$pid" 2>/dev/null
    done
    echo "no free X display for Xvfb" >&2
    return 1
}

case "$action" in
start)
    : >"$log"
    stop_session
    "$PTR_WINESERVER" -k >/dev/null 2>&1; "$PTR_WINESERVER" -w >/dev/null 2>&1
    start_display || exit 1
    # A new prefix is made in a session of its own: wineboot restarts the
    # services when it has updated the prefix.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wine wineboot -i || { echo "wineboot failed; see $log" >&2; exit 1; }
        "$PTR_WINESERVER" -w
    fi
    "$PTR_WINESERVER" -p </dev/null >>"$log" 2>&1
    wine reg add 'HKCU\Software\Wine' /v Version /d win95 /f
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    # Nothing of the package starts with the session.
    wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v NelvoPtr /f
    # A loaded driver's file is not replaced: stop it before reinstalling.
    if [ "$(driver_state)" = RUNNING ]; then
        wine sc stop tavren
        for _ in $(seq 50); do [ "$(driver_state)" = STOPPED ] && break; sleep 0.1; done
    fi
    wine rundll32 setupapi.dll,InstallHinfSection DefaultInstall 128 "$(winpath "$build/package/tavren.inf")"
    wine sc start tavren
    [ "$(driver_state)" = RUNNING ] || { echo "TAVREN did not start; see $log" >&2; exit 1; }
    echo "session on $DISPLAY, prefix $WINEPREFIX"
    ;;
stop)
    stop_session
    ;;
esac
