#!/bin/bash
# Sets up what is missing, builds both presets and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts/packages.sh
ensure_packages

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
ctest --preset win64
