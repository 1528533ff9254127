#!/bin/bash
# A logon with the package installed, as a user's machine has it: the package's
# INF is installed, the session ends, and the next one runs the Run entries, so
# that the agent comes up from "NelvoPtr". The checks of each stage run in
# install_check.exe; the package is removed again at the end.
#   agent-logon.sh BUILD_DIR
set -u
build=$1
. "$build/wine-env.sh"
. "$(dirname "$0")/../scripts/wine-lib.sh"
PTR_LOG="$build/wine-session.log"
check="$build/tests/install_check.exe"
status=0

stage() {
    PTR_LOGON_STAGE=$1 "$PTR_WINE" "$check" --gtest_filter="$1.*" || status=1
}

ptr_install_package "$build/package/pointerhub.inf"
stage Installed
ptr_logon
stage Logon

stage Removed
exit $status
