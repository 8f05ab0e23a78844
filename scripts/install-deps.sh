#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing. Without root it prints the command to run instead.
#   --chromium   also install headless Chromium and poppler for the report rendering check
#   --gui-check  also install Xvfb, xdotool and ImageMagick for the screenshot script
set -euo pipefail

packages=(g++ cmake ninja-build make libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev libcli11-dev locales
          qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools libgl-dev
          fonts-dejavu-core)
for arg in "$@"; do
  case "$arg" in
    --chromium) packages+=(chromium poppler-utils) ;;
    --gui-check) packages+=(xvfb xauth xdotool imagemagick x11-utils) ;;
    *) echo "usage: $0 [--chromium] [--gui-check]" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

need_locale=0
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  need_locale=1
fi

if [ "$(id -u)" -ne 0 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Run as root: apt-get update && apt-get install -y ${missing[*]}"
  fi
  if [ $need_locale -eq 1 ]; then
    echo "Run as root: sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen && locale-gen"
  fi
  exit 0
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

if [ $need_locale -eq 1 ]; then
  if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    else
      echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
    fi
  fi
  locale-gen >/dev/null
fi
