#!/bin/sh
# Builds, once, what the Windows build links and Debian does not ship for
# MinGW: Qt 6 (from Debian's own qt6-base source), zlib and libxlsxwriter
# (from Debian's sources), GoogleTest (from /usr/src/googletest), and copies
# nlohmann-json's headers. Everything lands in a cache outside the checkout,
# reused while it exists:
#   $INKQUOT_WIN_CACHE (default ~/.cache/inkquot)/mingw-qt-6.4.2   Qt
#   $INKQUOT_WIN_CACHE/mingw-deps                                  the rest
# Each piece is marked done by a stamp file, so an interrupted run resumes.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$here/env.sh"

"$here/install-deps.sh"

mkdir -p "$WIN_CACHE/src" "$WIN_DEPS"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
jobs=${JOBS:-2}

# Debian's sources, through an apt folder of our own that lists the archive's
# deb-src entry, so the machine's own apt setup is left alone.
fetch_source() {
  pkg=$1
  dest="$WIN_CACHE/src/$pkg"
  [ -f "$dest/.fetched" ] && return 0
  aptdir="$WIN_CACHE/apt"
  mkdir -p "$aptdir/lists/partial" "$dest"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    > "$aptdir/sources.list"
  opts="-o Dir::Etc::SourceList=$aptdir/sources.list -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists=$aptdir/lists"
  # shellcheck disable=SC2086
  [ -f "$aptdir/.updated" ] || { apt-get $opts update -qq && touch "$aptdir/.updated"; }
  # shellcheck disable=SC2086
  (cd "$dest" && apt-get $opts source -qq "$pkg")
  touch "$dest/.fetched"
}

source_dir() {
  find "$WIN_CACHE/src/$1" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@"
}

# nlohmann-json: header only, the same version as the Linux build.
if [ ! -f "$WIN_DEPS/.json" ]; then
  mkdir -p "$WIN_DEPS/include" "$WIN_DEPS/share/cmake"
  cp -r /usr/include/nlohmann "$WIN_DEPS/include/"
  cp -r /usr/share/cmake/nlohmann_json "$WIN_DEPS/share/cmake/"
  touch "$WIN_DEPS/.json"
fi

# GoogleTest and GoogleMock, from the source Debian installs.
if [ ! -f "$WIN_DEPS/.gtest" ]; then
  b="$WIN_CACHE/build/googletest"
  rm -rf "$b"
  cross_cmake -S /usr/src/googletest -B "$b" -DCMAKE_INSTALL_PREFIX="$WIN_DEPS" \
    -Dgtest_disable_pthreads=OFF
  cmake --build "$b" -j "$jobs"
  cmake --install "$b"
  touch "$WIN_DEPS/.gtest"
fi

# zlib, which libxlsxwriter's workbooks (zip files) need.
if [ ! -f "$WIN_DEPS/.zlib" ]; then
  fetch_source zlib
  # Debian's zlib source leaves out the Windows resource script of the DLL.
  mkdir -p "$(source_dir zlib)/win32"
  [ -s "$(source_dir zlib)/win32/zlib1.rc" ] ||
    printf '1 VERSIONINFO\nFILEVERSION 1,2,13,0\nPRODUCTVERSION 1,2,13,0\nBEGIN\nEND\n' \
      > "$(source_dir zlib)/win32/zlib1.rc"
  b="$WIN_CACHE/build/zlib"
  rm -rf "$b"
  cross_cmake -S "$(source_dir zlib)" -B "$b" -DCMAKE_INSTALL_PREFIX="$WIN_DEPS"
  cmake --build "$b" -j "$jobs"
  cmake --install "$b"
  touch "$WIN_DEPS/.zlib"
fi

# libxlsxwriter as a DLL, opened by the program at its first workbook.
if [ ! -f "$WIN_DEPS/.xlsxwriter" ]; then
  fetch_source libxlsxwriter
  # Built with MinGW the library hides that it runs on Windows and opens its
  # files by their ANSI names, so a workbook in a folder with a Chinese name
  # could not be written: the Windows path, which opens UTF-8 names as
  # UTF-16, is used instead.
  for f in src/packager.c src/utility.c; do
    sed -i '/^#ifdef __MINGW32__$/{N;N;s/^#ifdef __MINGW32__\n#undef _WIN32\n#endif$//}' \
      "$(source_dir libxlsxwriter)/$f"
  done
  sed -i 's/^    if(MSVC)$/    if(WIN32)/' "$(source_dir libxlsxwriter)/CMakeLists.txt"
  b="$WIN_CACHE/build/libxlsxwriter"
  rm -rf "$b"
  cross_cmake -S "$(source_dir libxlsxwriter)" -B "$b" -DCMAKE_INSTALL_PREFIX="$WIN_DEPS" \
    -DBUILD_SHARED_LIBS=ON
  cmake --build "$b" -j "$jobs"
  cmake --install "$b"
  touch "$WIN_DEPS/.xlsxwriter"
fi

# Qt: the host's tools (moc, rcc, uic of qt6-base-dev-tools) generate code;
# the libraries and the Windows platform plugin are cross-built. SQL,
# networking, D-Bus and OpenGL are not used by the program.
if [ -z "${NO_QT:-}" ] && [ ! -f "$WIN_QT/.built" ]; then
  fetch_source qt6-base
  src=$(source_dir qt6-base)
  # Debian's source leaves out the tablet headers the Windows platform plugin
  # includes; Wine's own headers declare the same interface.
  wintab="$src/src/3rdparty/wintab"
  if [ ! -f "$wintab/wintab.h" ]; then
    mkdir -p "$wintab"
    winehdr=$(dirname "$(find /usr/include/wine -name wintab.h | head -n 1)")
    cat > "$wintab/wintab.h" <<HDR
#pragma once
#include <windows.h>
#define WINELIB_NAME_AW(n) n##W
#define DECL_WINELIB_TYPE_AW(t) typedef t##W t;
#ifndef API
#define API WINAPI
#endif
#include "$winehdr/wintab.h"
HDR
    cp "$winehdr/pktdef.h" "$wintab/pktdef.h"
  fi
  b="$WIN_CACHE/build/qtbase"
  [ -f "$b/build.ninja" ] || cross_cmake -S "$src" -B "$b" \
    -DCMAKE_INSTALL_PREFIX="$WIN_QT" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
  nice -n 10 cmake --build "$b" -j "$jobs"
  cmake --install "$b"
  touch "$WIN_QT/.built"
fi
echo "Windows build cache ready in $WIN_CACHE"
