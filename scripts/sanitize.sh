#!/bin/sh
# Builds the core, the command line tool and their tests with
# AddressSanitizer and UndefinedBehaviorSanitizer, then runs those tests.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=build-asan
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DINKQUOT_WITH_UI=OFF -DINKQUOT_WITH_BENCH=OFF -DINKQUOT_SANITIZE=ON -DINKQUOT_WERROR=ON
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-2}"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$BUILD_DIR" --output-on-failure -j "${JOBS:-2}"
