#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages Vimbrel needs. The one place the package list lives.
#   scripts/deps.sh run    what building and running the program needs
#   scripts/deps.sh test   that, plus what the tests, fuzzers and benchmarks need
set -euo pipefail

run_pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgif-dev libjpeg-dev
  libheif-dev libraw-dev qt6-image-formats-plugins
  fonts-liberation
)
test_pkgs=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb openbox xdotool imagemagick x11-utils python3
  libvips-tools libjpeg-turbo-progs libheif-examples libraw-bin
  dpkg-dev file desktop-file-utils appstream shared-mime-info libxml2-utils libglib2.0-bin
  inotify-tools man-db hicolor-icon-theme
  cups printer-driver-cups-pdf poppler-utils xdg-utils
)

pkgs=("${run_pkgs[@]}")
[ "${1:-run}" = test ] && pkgs+=("${test_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
