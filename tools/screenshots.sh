#!/usr/bin/env bash
# Photographs the real windows under a virtual X server: the main window in both layouts with a
# sample loaded, and the version window. The PNGs go to docs/screenshots/.
#   tools/screenshots.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
program="$build/tools/tonekit-screenshots"
out="$here/docs/screenshots"
sample="$here/samples/kaeru.mld"

if [[ ! -x "$program" ]]; then
  echo "no program at $program; build the target tonekit-screenshots first" >&2
  exit 1
fi
mkdir -p "$out"
rm -f "$out"/main-normal.png "$out"/main-expert.png "$out"/version.png

export QT_QPA_PLATFORM=xcb
export LANG="${LANG:-C.UTF-8}"
timeout 60 xvfb-run -a -s "-screen 0 1024x800x24 -dpi 96" "$program" "$out" "$sample"

for shot in main-normal main-expert version; do
  if [[ ! -s "$out/$shot.png" ]]; then
    echo "missing $out/$shot.png" >&2
    exit 1
  fi
  echo "$out/$shot.png"
done
