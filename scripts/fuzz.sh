#!/bin/sh
# Builds the fuzz targets with clang (core instrumented too) and runs each
# for a while: scripts/fuzz.sh [seconds per target]
set -eu
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-30}
BUILD_DIR=build-fuzz
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DINKQUOT_WITH_UI=OFF -DINKQUOT_WITH_BENCH=OFF -DINKQUOT_WITH_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-2}"
for f in "$BUILD_DIR"/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  mkdir -p "$BUILD_DIR/corpus/$(basename "$f")"
  "$f" -max_total_time="$SECONDS_PER_TARGET" "$BUILD_DIR/corpus/$(basename "$f")"
done
