#!/bin/sh
# Installs the Debian 12 packages the Windows cross-build, its tests under
# Wine and its installer need. Does nothing when they are all present.
set -eu
exec "$(dirname "$0")/../install-deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 wine wine64 libwine-dev nsis dpkg-dev xz-utils cmake ninja-build \
  qt6-base-dev-tools qt6-translations-l10n fonts-noto-cjk fonts-arphic-uming librsvg2-bin \
  xvfb xauth python3
