#!/bin/sh
# Builds the Release build in build-release/ and the Debian package
# build-release/inkquot_<version>_amd64.deb from it, then lists its contents.
# Install it with: apt-get install ./build-release/inkquot_<version>_amd64.deb
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=build-release BUILD_TYPE=Release scripts/build.sh
(cd build-release && cpack -G DEB)
for deb in build-release/inkquot_*_amd64.deb; do
  dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
  dpkg-deb --contents "$deb" | awk '{print $6}'
done
