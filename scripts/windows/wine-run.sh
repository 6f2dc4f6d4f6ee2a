#!/bin/sh
# Runs a cross-built Windows program under Wine: the test runner's and the
# build's emulator (CMAKE_CROSSCOMPILING_EMULATOR). The Wine prefix lives in
# the cache; the DLLs of the MinGW runtime, Qt and the libraries built there
# are found through WINEPATH, as if they stood beside the program.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
export WINEPREFIX="${WINEPREFIX:-$WIN_CACHE/wine-prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts to install Wine's .NET or browser engines.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
WINEPATH="$(winpath /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(winpath /usr/x86_64-w64-mingw32/lib)"
WINEPATH="$WINEPATH;$(winpath "$WIN_DEPS/bin");$(winpath "$WIN_QT/bin")"
export WINEPATH
exec /usr/lib/wine/wine64 "$@"
