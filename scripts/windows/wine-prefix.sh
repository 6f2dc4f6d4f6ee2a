#!/bin/sh
# Lays out the Wine prefix the Windows tests run in (once, in the cache),
# with Chinese fonts as a Chinese Windows has them: Debian's Noto CJK and AR
# PL UMing copied into its Fonts folder. A wineserver is kept running for the
# duration of the tests, so that the many short runs of the tool do not each
# start one.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
export WINEPREFIX="${WINEPREFIX:-$WIN_CACHE/wine-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.ready" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for f in /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc \
           /usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc \
           /usr/share/fonts/truetype/arphic/uming.ttc; do
    [ -f "$f" ] && cp "$f" "$fonts/"
  done
  touch "$WINEPREFIX/.ready"
fi
/usr/lib/wine/wineserver -p 600 2>/dev/null || true
# Wine's own services start with the first program and outlive it; started
# here, they hold none of the test runner's pipes open after a test ends.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
