# Where the Windows cross-build keeps what it builds once (sourced by the
# scripts beside it).
WIN_CACHE=${INKQUOT_WIN_CACHE:-${HOME:-/root}/.cache/inkquot}
WIN_QT="$WIN_CACHE/mingw-qt-6.4.2"
WIN_DEPS="$WIN_CACHE/mingw-deps"
export WIN_CACHE WIN_QT WIN_DEPS
# Searched by the cross toolchain (cmake/mingw-w64-x86_64.cmake) for the
# libraries and packages built here.
INKQUOT_MINGW_ROOT="$WIN_QT;$WIN_DEPS"
export INKQUOT_MINGW_ROOT
