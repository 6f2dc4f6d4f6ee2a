#!/bin/sh
# Builds the fuzz targets with clang (core instrumented too) and runs each
# for a while: scripts/fuzz.sh [seconds per target]
# Each starts from its saved inputs in fuzz/corpus/ and keeps what it finds in
# build-fuzz/corpus/. An input that broke a reader belongs in fuzz/corpus/
# once the reader is mended (the tests replay that folder on every build);
# `-merge=1 fuzz/corpus/T build-fuzz/corpus/T` adds the new finds worth keeping.
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
  "$f" -max_total_time="$SECONDS_PER_TARGET" "$BUILD_DIR/corpus/$(basename "$f")" \
    "fuzz/corpus/$(basename "$f")"
done
