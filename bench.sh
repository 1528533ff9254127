#!/bin/bash
# Builds both presets and prints Pointerhub's cost figures (each a ratio against
# a baseline measured in the same run).
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts/packages.sh
. ./scripts/build.sh
ensure_packages
ptr_build_presets
ctest --preset bench 2>&1 | grep -E '^[0-9]+: (keystroke|load|ptrlink|agent|opening|one)' | sed 's/^[0-9]*: //'
