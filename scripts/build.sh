#!/bin/sh
# Configures (once) and builds the program, the tools and the tests.
# BUILD_DIR (default build) and BUILD_TYPE (default RelWithDebInfo) choose
# the folder and the build type; further arguments go to the configure step.
# Warnings are errors here: this is the project's own build.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DINKQUOT_WERROR=ON "$@"
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-2}"
