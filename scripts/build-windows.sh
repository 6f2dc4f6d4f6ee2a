#!/bin/sh
# Cross-builds inkquot.exe, inkquot-cli.exe and every test for 64-bit
# Windows into build-windows/ (warnings are errors, as on Linux), then the
# installer build-windows/inkquot-<version>-win64-setup.exe. The first run
# also builds Qt and the libraries Debian does not ship for Windows into a
# cache outside the checkout (scripts/windows/build-deps.sh), which later
# runs reuse. WITH_UI=OFF builds the core, the tool and their tests alone.
# The tests run the programs through scripts/windows/wine-run.sh, told where
# the cache is (a test may change HOME).
set -eu
cd "$(dirname "$0")/.."
. scripts/windows/env.sh
WITH_UI=${WITH_UI:-ON}
if [ "$WITH_UI" = ON ]; then
  scripts/windows/build-deps.sh
else
  NO_QT=1 scripts/windows/build-deps.sh
fi
BUILD_DIR=${BUILD_DIR:-build-windows}
mkdir -p "$BUILD_DIR"
# Configured every time (a few seconds), so that WITH_UI takes effect in an
# existing folder.
cmake -S . -B "$BUILD_DIR" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DINKQUOT_WERROR=ON -DINKQUOT_WITH_BENCH=OFF \
    -DINKQUOT_WITH_UI="$WITH_UI" \
    -DCMAKE_PREFIX_PATH="$WIN_QT;$WIN_DEPS" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="/usr/bin/env;INKQUOT_WIN_CACHE=$WIN_CACHE;$PWD/scripts/windows/wine-run.sh" \
    > "$BUILD_DIR/configure.log" || { cat "$BUILD_DIR/configure.log"; exit 1; }
cmake --build "$BUILD_DIR" -j "${JOBS:-2}"
if [ "$WITH_UI" = ON ]; then
  (cd "$BUILD_DIR" && cpack -G NSIS)
fi
