#!/bin/sh
# Builds everything and runs every test (core, command line tool, screens).
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure -j "${JOBS:-2}"
