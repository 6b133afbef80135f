#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Installs what TONEKIT needs to build, run and test on Debian 12 (as root, or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins
  libcli11-dev nlohmann-json3-dev
  libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth fonts-noto-cjk imagemagick openbox
  desktop-file-utils appstream help2man librsvg2-bin shared-mime-info xdg-utils libglib2.0-bin
  man-db dpkg-dev file licensecheck lintian zsh python3
  qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
  libfluidsynth-dev fluidsynth timgm6mb-soundfont
  libspandsp-dev libsamplerate0-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
