#!/bin/bash
# Sets up what is missing, builds both presets and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")"
. ./scripts/packages.sh
. ./scripts/build.sh
ensure_packages
ptr_build_presets
ctest --preset win64
