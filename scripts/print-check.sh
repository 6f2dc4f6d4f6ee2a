#!/bin/sh
# Prints a quotation and a price table through a real print queue and checks
# what arrived. Sets up CUPS with a queue that prints into PDF files
# (cups-pdf), makes it the default printer, prints through the program's own
# printing code (tests/ui/tools/print_check.cpp, not the PDF export), then
# checks that each job arrived as one page holding its Chinese text.
# Run by hand (needs root or sudo for the packages and the queue); not in CI.
set -eu
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
QUEUE=inkquot-check

missing=""
for p in cups cups-client printer-driver-cups-pdf poppler-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# The scheduler: the system's service when there is one, else started here.
running() { lpstat -r 2>/dev/null | grep -q "is running"; }
if ! running; then
  $SUDO service cups start >/dev/null 2>&1 || $SUDO /usr/sbin/cupsd
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    running && break
    sleep 1
  done
fi
lpstat -r

PPD=$(lpinfo -m | awk '/CUPS-PDF_opt.ppd/ {print $1; exit}')
$SUDO lpadmin -p "$QUEUE" -E -v cups-pdf:/ -m "$PPD"
$SUDO lpadmin -d "$QUEUE"
# Keep each job's document, to read the text the queue received: cups-pdf
# redistills the page through PostScript, which draws the CJK glyphs as
# shapes without their character codes.
$SUDO cupsctl PreserveJobFiles=yes
lpstat -d

# cups-pdf writes into the PDF folder of the job's owner.
OUT_CONF=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -n 1)
OUT=$(HOME=$(getent passwd "$(id -un)" | cut -d: -f6) USER=$(id -un) eval echo "${OUT_CONF:-/var/spool/cups-pdf/\$USER}")
mkdir -p "$OUT"
STAMP=$(mktemp)
sleep 1

BUILD_DIR=${BUILD_DIR:-build}
scripts/build.sh >/dev/null
cmake --build "$BUILD_DIR" --target print_check
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$BUILD_DIR/tests/print_check"

# Wait until the queue is empty, then for the two new files.
for _ in $(seq 60); do
  [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && break
  sleep 1
done
for _ in $(seq 30); do
  [ "$(find "$OUT" -name '*.pdf' -newer "$STAMP" | wc -l)" -ge 2 ] && break
  sleep 1
done

failures=0
check() {  # spooled document, printed file, expected texts...
  spooled=$1
  printed=$2
  shift 2
  pages=$(pdfinfo "$printed" | awk '/^Pages:/ {print $2}')
  text=$(pdftotext -enc UTF-8 "$spooled" -)
  echo "== $printed ($pages page), sent as $spooled"
  echo "$text" | sed '/^[[:space:]]*$/d' | head -n 40
  [ "$pages" = 1 ] || { echo "FAIL: $pages pages"; failures=$((failures + 1)); }
  for want in "$@"; do
    echo "$text" | grep -qF "$want" || { echo "FAIL: \"$want\" missing"; failures=$((failures + 1)); }
  done
}
printed=$(find "$OUT" -name '*.pdf' -newer "$STAMP" | sort)
set -- $printed
[ "$#" -eq 2 ] || { echo "FAIL: $# printouts arrived in $OUT, expected 2"; exit 1; }
jobs=$(lpstat -W completed -o "$QUEUE" | awk '{print $1}' | sed 's/.*-//' | sort -n | tail -n 2)
i=1
for id in $jobs; do
  spooled=$(printf '/var/spool/cups/d%05d-001' "$id")
  eval "file=\${$i}"
  if pdftotext "$spooled" - | grep -q "报价单"; then
    check "$spooled" "$file" "大度印务有限公司报价单" "致华光印刷物资有限公司：" "新品宣传单" "单价为：0.1234元/"
  else
    check "$spooled" "$file" "大度印务有限公司价格表" "单张类" "规格" "数量" "大" "正"
  fi
  i=$((i + 1))
done
rm -f "$STAMP"
[ "$failures" -eq 0 ] && echo "print check passed: 2 printouts in $OUT" || exit 1
