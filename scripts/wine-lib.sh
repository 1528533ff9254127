# Shell functions shared by the test session and the main job: an X display,
# a Windows 95 prefix with a persistent wineserver, the driver stand-in, the
# package and a simulated logon. The caller sets WINEPREFIX, PTR_WINE,
# PTR_WINESERVER and PTR_LOG (where Wine's own output goes).

ptr_wine() { "$PTR_WINE" "$@" >>"$PTR_LOG" 2>&1; }
ptr_winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
ptr_driver_state() { "$PTR_WINE" sc query tavren 2>/dev/null | sed -n 's/.*STATE *: *[0-9]* *//p' | tr -d ' \r'; }

# Starts an Xvfb of 1024 x 768 on a free display; sets DISPLAY and PTR_XVFB_PID.
ptr_start_xvfb() {
    local n pid
    for n in $(seq 90 119); do
        { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
        setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >>"$PTR_LOG" 2>&1 &
        pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        if [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            PTR_XVFB_PID=$pid
            return 0
        fi
        kill "$pid" 2>/dev/null
    done
    echo "no free X display for Xvfb" >&2
    return 1
}

# Makes the prefix when it is new (in a session of its own: wineboot restarts
# the services once it has updated a prefix), then starts a persistent
# wineserver and sets the Windows version to Windows 95.
ptr_open_prefix() {
    "$PTR_WINESERVER" -k >/dev/null 2>&1 || true
    "$PTR_WINESERVER" -w >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        ptr_wine wineboot -i || { echo "wineboot failed; see $PTR_LOG" >&2; return 1; }
        "$PTR_WINESERVER" -w
    fi
    "$PTR_WINESERVER" -p </dev/null >>"$PTR_LOG" 2>&1
    ptr_wine reg add 'HKCU\Software\Wine' /v Version /d win95 /f
    # Without a window manager, unmanaged windows close and hide without delay.
    ptr_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
}

# Installs the TAVREN stand-in from its INF and starts it.
ptr_install_driver() {
    local inf=$1
    # A loaded driver's file is not replaced: stop it before reinstalling.
    if [ "$(ptr_driver_state)" = RUNNING ]; then
        ptr_wine sc stop tavren || true
        for _ in $(seq 50); do [ "$(ptr_driver_state)" = STOPPED ] && break; sleep 0.1; done
    fi
    ptr_wine rundll32 setupapi.dll,InstallHinfSection DefaultInstall 128 "$(ptr_winpath "$inf")"
    ptr_wine sc start tavren || true
    [ "$(ptr_driver_state)" = RUNNING ] || { echo "TAVREN did not start; see $PTR_LOG" >&2; return 1; }
}

ptr_install_package() {
    ptr_wine rundll32 setupapi.dll,InstallHinfSection DefaultInstall 128 "$(ptr_winpath "$1")"
}

# A logon: the session ends, and the new one's wineboot runs the Run entries.
ptr_logon() {
    "$PTR_WINESERVER" -k >/dev/null 2>&1 || true
    "$PTR_WINESERVER" -w >/dev/null 2>&1 || true
    "$PTR_WINESERVER" -p </dev/null >>"$PTR_LOG" 2>&1
    ptr_wine wineboot
}
