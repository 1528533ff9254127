#!/bin/bash
# A logon with the package installed, as a user's machine has it: the package's
# INF is installed, the session ends, and the next one runs the Run entries, so
# that the agent comes up from "NelvoPtr". The checks of each stage run in
# install_check.exe; the package is removed again at the end.
#   agent-logon.sh BUILD_DIR
set -u
build=$1
. "$build/wine-env.sh"
check="$build/tests/install_check.exe"
inf="Z:$(printf '%s' "$build/package/pointerhub.inf" | tr / '\\')"
status=0

stage() {
    PTR_LOGON_STAGE=$1 "$PTR_WINE" "$check" --gtest_filter="$1.*" || status=1
}

"$PTR_WINE" rundll32 setupapi.dll,InstallHinfSection DefaultInstall 128 "$inf"
stage Installed

# Logon: the session ends and a new one starts; its wineboot runs the Run entries.
"$PTR_WINESERVER" -k
"$PTR_WINESERVER" -w
"$PTR_WINESERVER" -p </dev/null >/dev/null 2>&1
"$PTR_WINE" wineboot >/dev/null 2>&1
stage Logon

stage Removed
exit $status
