#!/usr/bin/env bash
# Renders a table document (the fixture decides which) in headless Chromium
# and checks the PDF:
# one page per table, and on every page shaded rows and red (warning) rows.
# Exits 77 (skipped) when Chromium or poppler's tools are not installed;
# scripts/install-deps.sh --chromium installs them.
#   check_rendering.sh RENDER_FIXTURE [KEEP_DIR]
set -euo pipefail

fixture=${1:?usage: $0 RENDER_FIXTURE [KEEP_DIR]}
chromium=${CHROMIUM:-$(command -v chromium || command -v chromium-browser || true)}
if [ -z "$chromium" ] || ! command -v pdfinfo >/dev/null || ! command -v pdftoppm >/dev/null; then
  echo "SKIP: needs chromium, pdfinfo and pdftoppm (scripts/install-deps.sh --chromium)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tables=$("$fixture" write "$work/tables.html")
# Chromium's own header and footer (date, file name) would add colour and
# text of their own; the program prints with them blank too.
timeout 180 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --no-pdf-header-footer --print-to-pdf-no-header \
  --print-to-pdf="$work/tables.pdf" "file://$work/tables.html" >"$work/chromium.log" 2>&1 || {
  cat "$work/chromium.log" >&2
  echo "FAIL: chromium could not print the document" >&2
  exit 1
}
if [ ! -s "$work/tables.pdf" ]; then
  cat "$work/chromium.log" >&2
  echo "FAIL: chromium wrote no PDF" >&2
  exit 1
fi

status=0
pages=$(pdfinfo "$work/tables.pdf" | awk '/^Pages:/ { print $2 }')
if [ "$pages" != "$tables" ]; then
  echo "FAIL: $tables tables printed on $pages pages"
  status=1
else
  echo "ok: $tables tables on $pages pages"
fi

for ((page = 1; page <= pages; page++)); do
  pdftoppm -r 72 -f "$page" -l "$page" -singlefile "$work/tables.pdf" "$work/page-$page"
  read -r _ shaded _ red < <("$fixture" sample "$work/page-$page.ppm")
  # A shaded row is a band of several thousand pixels at 72 dpi; red text of
  # a row a few hundred.
  if [ "$shaded" -lt 2000 ] || [ "$red" -lt 100 ]; then
    echo "FAIL: page $page has $shaded shaded and $red red pixels"
    status=1
  else
    echo "ok: page $page has $shaded shaded and $red red pixels"
  fi
done

if [ -n "${2:-}" ]; then
  mkdir -p "$2"
  cp "$work"/tables.html "$work"/tables.pdf "$work"/page-*.ppm "$2"/
fi
exit $status
