#!/bin/sh
# Builds the core and the command line tool alone, with clang, on a
# configuration that cannot find Qt: proof that neither needs it.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=build-noui
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  CXX=${CXX:-clang++} cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DINKQUOT_WERROR=ON -DINKQUOT_WITH_UI=OFF -DINKQUOT_WITH_TESTS=OFF \
    -DINKQUOT_WITH_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
fi
cmake --build "$BUILD_DIR" -j "${JOBS:-2}"
"$BUILD_DIR/app/inkquot-cli" --version
