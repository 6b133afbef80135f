#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Photographs the real windows under a virtual X server: the main window in both layouts with a
# sample loaded, the version window, the playback menu, the question before an edit is lost, the recent-files menu,
# the list window grown and sorted by title, the wait window in the middle of an update of
# 10,000 files, the box that ends an update where some files fail, and the main window's title bar
# (drawn by openbox) marking an unsaved edit; then the main, track and list windows in each
# language (NAME-ja.png, NAME-en.png). The PNGs go to docs/screenshots/.
#   tools/screenshots.sh [BUILD_FOLDER]     (default: build)
# The pictures show the loaded file's path, so the sample is opened from a neutral place: a
# temporary home mounted over /home (in a private mount namespace) as /home/user/melodies.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
program="$build/tools/tonekit-screenshots"
out="$here/docs/screenshots"

if [[ ! -x "$program" ]]; then
  echo "no program at $program; build the target tonekit-screenshots first" >&2
  exit 1
fi
case "$here/:$build/" in
  /home/*|*:/home/*) echo "the checkout and the build must lie outside /home, which is covered here" >&2; exit 1 ;;
esac

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home/user/melodies"
cp "$here/samples/"*.mld "$scratch/home/user/melodies/"
mkdir -p "$out"
shots="main-normal main-expert version playback unsaved-question recent-files list-sorted batch-progress
       batch-summary title-bar main-ja track-ja list-ja main-en track-en list-en"
for shot in $shots; do rm -f "$out/$shot.png"; done
# Everything below runs with the scratch home mounted over /home; the real /home is untouched.
unshare --user --map-root-user --mount bash -c '
  set -euo pipefail
  mount --bind "$1/home" /home
  cd /home/user
  export HOME=/home/user
  unset XDG_CONFIG_HOME XDG_DATA_HOME
  export QT_QPA_PLATFORM=xcb
  export LANG="${LANG:-C.UTF-8}"
  timeout 180 xvfb-run -a -s "-screen 0 1024x800x24 -dpi 96" "$2" "$3" /home/user/melodies/kaeru.mld \
    /home/user/many
  for language in ja en; do
    rm -rf /home/user/.config
    timeout 60 xvfb-run -a -s "-screen 0 1024x800x24 -dpi 96" "$2" --lang "$language" "$3" \
      /home/user/melodies/kaeru.mld
  done
' screenshots "$scratch" "$program" "$out"

for shot in $shots; do
  if [[ ! -s "$out/$shot.png" ]]; then
    echo "missing $out/$shot.png" >&2
    exit 1
  fi
  echo "$out/$shot.png"
done
