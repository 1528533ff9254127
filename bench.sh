#!/bin/bash
# Builds both presets and prints Pointerhub's cost figures (each a ratio against
# a baseline measured in the same run).
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts/packages.sh
ensure_packages

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset bench 2>&1 | grep -E '^[0-9]+: (keystroke|load|ptrlink|agent|minimal)' | sed 's/^[0-9]*: //'
