#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need,
# or the packages named as arguments (scripts/windows/install-deps.sh).
# Does nothing when they are all present; uses sudo when not run as root.
set -eu
PACKAGES="$*"
[ -n "$PACKAGES" ] || PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev pkg-config qt6-base-dev \
qt6-base-dev-tools libgl1-mesa-dev fonts-noto-cjk fonts-arphic-uming \
qt6-translations-l10n libxlsxwriter-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev \
python3 xvfb xauth librsvg2-bin desktop-file-utils appstream poppler-utils dpkg-dev file strace"
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
