#!/usr/bin/env bash
# Takes the screenshots of the desktop program for docs/screenshots/: the
# liability warning, the main window with a calculated trimix plan, the
# preferences, the viewer with dive tables, the About box, the details window
# and the worst-case bailout window of a closed-circuit dive, and the table
# generation page with its generated tables, and the main window and the
# table generation page in German. Runs the real
# program under Xvfb and drives it with the keyboard, as a user would.
# Needs Xvfb, xdotool and ImageMagick: bash scripts/install-deps.sh --gui-check
set -euo pipefail
cd "$(dirname "$0")/.."

program=${PROGRAM:-build/dev/bin/KestrunVarnadel}
out=docs/screenshots
display=${SCREENSHOT_DISPLAY:-:97}
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing; run: bash scripts/install-deps.sh --gui-check" >&2; exit 1; }
done
[ -x "$program" ] || { echo "screenshots: $program is missing; run: make build" >&2; exit 1; }
mkdir -p "$out"

# A private home: the default preferences, and nothing of the user's touched.
home=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/config" "$home/runtime"
chmod 700 "$home/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/runtime DISPLAY=$display
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The id of the window whose title matches, once it is shown.
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1; }
shot() {  # window-id file
  sleep 1.5
  import -window "$1" "$out/$2"
  echo "screenshots: $out/$2"
}
keys() {  # window-id key...
  local id=$1; shift
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.3; done
}

start() {  # plan file
  "$program" --no-splash "$1" &
  app_pid=$!
  local warning
  warning=$(window '^Kestrun Varnadel$')
  if [ "${2:-}" = warning ]; then shot "$warning" liability-warning.png; fi
  keys "$warning" Return
}
stop() {
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

# The main window with a calculated trimix plan, its preferences and the About box.
start examples/oc-trimix-60m.ccp warning
main=$(window 'Kestrun Varnadel - oc-trimix-60m.ccp')
xdotool windowsize "$main" 1100 760
shot "$main" main-window.png
keys "$main" alt+t p
shot "$(window '^Preferences$')" preferences.png
keys "$(window '^Preferences$')" Escape
keys "$main" alt+h a
shot "$(window '^About Kestrun Varnadel$')" about.png
keys "$(window '^About Kestrun Varnadel$')" Escape
stop

# The viewer with the dive tables and the gas consumption tables of a plan
# of two dives (View: Details, the two current tables, then the two of all dives).
start examples/oc-nitrox-two-dives.ccp
main=$(window 'Kestrun Varnadel - oc-nitrox-two-dives.ccp')
keys "$main" alt+v Down Down Down Return
viewer=$(window 'Kestrun Varnadel - Viewer')
shot "$viewer" viewer-dive-tables.png
keys "$viewer" alt+x
keys "$main" alt+v Down Down Down Down Return
shot "$(window 'Kestrun Varnadel - Viewer')" viewer-gas-tables.png
stop

# A closed-circuit dive: the details window following a cursor pinned at
# minute 25 of the chart, then the worst-case bailout from the chart's
# pop-up menu (W): each bailout with the number of gases it needs, the
# 6-hour question answered No.
start examples/cc-trimix-70m-bailout.ccp
main=$(window 'Kestrun Varnadel - cc-trimix-70m-bailout.ccp')
xdotool windowsize "$main" 1100 760
keys "$main" alt+v Return
details=$(window '^Details$')
xdotool windowmove "$details" 300 200
xdotool mousemove --window "$main" 219 620 click 1
shot "$details" details-window.png
keys "$details" Escape
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 400 620 click 3
sleep 0.5
xdotool key w
keys "$(window '^Kestrun Varnadel$')" Return
sleep 0.5
keys "$(window '^Kestrun Varnadel$')" Return
worst=$(timeout 300 xdotool search --sync --onlyvisible --name 'Worst-case Bailout' | head -1)
shot "$worst" worst-case-bailout.png
keys "$worst" Escape
# The same dive bailed out at the end of its bottom segment (S in the chart's
# menu; any question the planner asks takes its default), then the cursor
# pinned in the bailout ascent so that the readout shows.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 400 620 click 3
sleep 0.5
xdotool key s
for _ in 1 2 3; do
  question=$(timeout 3 xdotool search --sync --onlyvisible --name '^Kestrun Varnadel$' | head -1) || break
  [ -n "$question" ] && keys "$question" Return
done
xdotool mousemove --window "$main" 560 600 click 1
shot "$main" bailout-mode.png
stop

# The table generation page with the closed-circuit example set read through
# "Open Settings", then the tables it generates.
start examples/cc-trimix-70m-bailout.ccp
main=$(window 'Kestrun Varnadel - cc-trimix-70m-bailout.ccp')
keys "$main" alt+t d
page=$(window '^Table Generation$')
keys "$page" alt+o
open_dialog=$(window 'Select Table Generation Settings file to open')
xdotool windowfocus --sync "$open_dialog" 2>/dev/null || true
xdotool type --delay 20 "$PWD/examples/cc-trimix-45-60m.cct"
keys "$open_dialog" Return
shot "$page" table-generation.png
keys "$page" alt+g
shot "$(window 'Kestrun Varnadel - Viewer')" viewer-generated-tables.png
stop

# The window in German, from the language library beside the program: the
# main window and the table generation page (Extras > Tauchtabellen erstellen, Alt+E T).
settings="$home/config/Kestrun/KestrunVarnadel.conf"
mkdir -p "$(dirname "$settings")"
if grep -q '^\[Settings\]$' "$settings" 2>/dev/null; then
  sed -i 's/^\[Settings\]$/[Settings]\nLanguage%20ID=1031/' "$settings"
else
  printf '[Settings]\nLanguage%%20ID=1031\n' >>"$settings"
fi
start examples/oc-trimix-60m.ccp
main=$(window 'Kestrun Varnadel - oc-trimix-60m.ccp')
xdotool windowsize "$main" 1100 760
shot "$main" main-window-de.png
keys "$main" alt+e t
shot "$(window '^Tabellenerstellung$')" table-generation-de.png
stop
