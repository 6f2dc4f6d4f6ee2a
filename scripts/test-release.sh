#!/bin/sh
# Builds everything as a Release build (full optimisation, as a packager
# builds it) in build-release/ and runs every test there.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=build-release BUILD_TYPE=Release scripts/build.sh
ctest --test-dir build-release --output-on-failure -j "${JOBS:-2}"
