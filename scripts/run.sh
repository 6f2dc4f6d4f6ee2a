#!/bin/sh
# Builds the ready program folder and starts the desktop program from it.
set -eu
cd "$(dirname "$0")/.."
scripts/build.sh
APP="$(pwd)/build/app"
echo "program folder: $APP"
if [ -x "$APP/inkquot" ]; then
  exec "$APP/inkquot"
fi
