#!/usr/bin/env bash
# Prints an HTML table document with headless Chromium, as the rendering
# check does, and saves one page of it as a PNG (for the documentation).
#   render-page.sh DOCUMENT.html OUT.png [PAGE] [DPI]
# Needs scripts/install-deps.sh --chromium.
set -euo pipefail

document=${1:?usage: $0 DOCUMENT.html OUT.png [PAGE] [DPI]}
png=${2:?usage: $0 DOCUMENT.html OUT.png [PAGE] [DPI]}
page=${3:-1}
dpi=${4:-80}
chromium=${CHROMIUM:-$(command -v chromium || command -v chromium-browser || true)}
if [ -z "$chromium" ] || ! command -v pdftoppm >/dev/null; then
  echo "needs chromium and pdftoppm: scripts/install-deps.sh --chromium" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
timeout 180 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --no-pdf-header-footer --print-to-pdf-no-header \
  --print-to-pdf="$work/out.pdf" "file://$(realpath "$document")" >"$work/chromium.log" 2>&1 || {
  cat "$work/chromium.log" >&2
  exit 1
}
pdftoppm -r "$dpi" -png -f "$page" -l "$page" -singlefile "$work/out.pdf" "$work/page"
cp "$work/page.png" "$png"
