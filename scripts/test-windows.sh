#!/bin/sh
# Builds the Windows programs and tests (scripts/build-windows.sh) and runs
# every test under Wine: the core tests, the command line tool's tests (the
# Python scripts run the .exe through Wine) and, with the screens, the screen
# tests on Qt's offscreen platform. WITH_UI=OFF leaves the screens out.
set -eu
cd "$(dirname "$0")/.."
scripts/build-windows.sh
scripts/windows/wine-prefix.sh
ctest --test-dir "${BUILD_DIR:-build-windows}" --output-on-failure --timeout 900 -j "${JOBS:-2}"
