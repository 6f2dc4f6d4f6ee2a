#!/bin/sh
# Installs the Debian 12 packages the Windows cross-build, its tests under
# Wine and its installer need. Does nothing when they are all present.
set -eu
PACKAGES="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
wine wine64 libwine-dev nsis dpkg-dev xz-utils cmake ninja-build qt6-base-dev-tools \
qt6-translations-l10n fonts-noto-cjk xvfb xauth python3"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
