#!/bin/bash
# The uninstall command on a machine with the package installed, answered Yes
# twice: the restart that it asks for, and the next logon after it. The
# package's INF is installed and a logon starts the agent; the checks of each
# stage run in restart_check.exe. Afterwards the driver stand-in is installed
# again for the tests that follow, and the package is removed.
#   uninstall-restart.sh BUILD_DIR
set -u
build=$1
. "$build/wine-env.sh"
. "$(dirname "$0")/../scripts/wine-lib.sh"
PTR_LOG="$build/wine-session.log"
status=0

stage() {
    PTR_LOGON_STAGE=$2 "$PTR_WINE" "$build/tests/$1.exe" --gtest_filter="$2.*" || status=1
}

ptr_install_package "$build/package/pointerhub.inf"
ptr_logon
stage restart_check Restart
ptr_logon
stage restart_check NextLogon

ptr_install_driver "$build/package/tavren.inf" || status=1
stage install_check Removed
exit $status
