#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Rendering an MLD file to WAV with `tonekit-cli render` against exporting it and rendering the
# export with `fluidsynth -ni -F`, as whole processes on the same file and soundfont, side by side:
# wall time (target ≤ 1.0×) and peak memory (target ≤ 1.2×). Then the Google Benchmark of
# exporting one 100,000-event track (target: under 50 ms). Between them, the cost of recorded
# sound: the ringtone with an "adat" entry as long as it (`make_samples --ringtone-audio`) rendered
# against FluidSynth alone on the ringtone's export.
#
# usage: bench/sound.sh [MLD_FILE]
#   MLD_FILE   default: the long melody like a real ringtone (`make_samples --ringtone`: four
#              tracks, sixteen parts, 5 min 35 s unrolled)
#   RUNS=3     timed runs of each; the median is reported
#   SF2=…      soundfont (default $TONEKIT_SOUNDFONT, else /usr/share/sounds/sf2/default-GM.sf2)
#   BUILD_DIR  Release build used (default build-bench-release; configured and built here)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
sf2=${SF2:-${TONEKIT_SOUNDFONT:-/usr/share/sounds/sf2/default-GM.sf2}}
build=${BUILD_DIR:-$here/build-bench-release}

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONEKIT_BUILD_GUI=OFF \
  -DTONEKIT_BUILD_TESTS=OFF -DTONEKIT_BUILD_BENCHMARKS=ON >/dev/null
ninja -C "$build" -j2 tonekit-cli bench_export make_samples >/dev/null
cli=$build/src/cli/tonekit-cli
command -v fluidsynth >/dev/null || { echo "fluidsynth is not installed (tools/install-deps.sh)" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is not installed (the time package)" >&2; exit 2; }
[[ -f $sf2 ]] || { echo "no soundfont at $sf2 (install timgm6mb-soundfont)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tonekit-sound.XXXXXX")
trap 'rm -rf "$work"' EXIT
file=${1:-}
if [[ -z $file ]]; then
  file=$work/ringtone.mld
  "$build/tools/make_samples" --ringtone "$file"
fi
"$cli" export "$file" --out "$work/exported.mid" >/dev/null

# Median wall seconds and median peak resident kB of running "$@" $runs times.
measure() {
  local times=() peaks=()
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>&1
    read -r wall peak <"$work/time"
    times+=("$wall") peaks+=("$peak")
  done
  local mid=$(((runs + 1) / 2))
  echo "$(printf '%s\n' "${times[@]}" | sort -g | sed -n "${mid}p") $(printf '%s\n' "${peaks[@]}" | sort -g | sed -n "${mid}p")"
}

read -r ours oursPeak < <(measure "$cli" render "$file" --out "$work/ours.wav" --soundfont "$sf2")
read -r theirs theirsPeak < <(measure fluidsynth -ni -F "$work/theirs.wav" "$sf2" "$work/exported.mid")
printf 'file                    %s\n' "$(basename "$file")"
printf 'tonekit-cli render      %.2f s  %s kB peak  (%s bytes)\n' "$ours" "$oursPeak" "$(stat -c %s "$work/ours.wav")"
printf 'fluidsynth -ni -F       %.2f s  %s kB peak  (%s bytes)\n' "$theirs" "$theirsPeak" "$(stat -c %s "$work/theirs.wav")"
printf 'wall ratio              %.2f× (target ≤ 1.00×)\n' "$(awk -v a="$ours" -v b="$theirs" 'BEGIN {print a / b}')"
printf 'memory ratio            %.2f× (target ≤ 1.20×)\n' "$(awk -v a="$oursPeak" -v b="$theirsPeak" 'BEGIN {print a / b}')"

"$build/tools/make_samples" --ringtone-audio "$work/audio.mld"
"$build/tools/make_samples" --ringtone "$work/plain.mld"
"$cli" export "$work/plain.mld" --out "$work/plain.mid" >/dev/null
read -r audio audioPeak < <(measure "$cli" render "$work/audio.mld" --out "$work/audio.wav" --soundfont "$sf2")
read -r alone alonePeak < <(measure fluidsynth -ni -F "$work/alone.wav" "$sf2" "$work/plain.mid")
echo
printf 'render with 5 min audio %.2f s  %s kB peak  (%s bytes)\n' "$audio" "$audioPeak" "$(stat -c %s "$work/audio.wav")"
printf 'fluidsynth alone        %.2f s  %s kB peak\n' "$alone" "$alonePeak"
printf 'wall ratio              %.2f×\n' "$(awk -v a="$audio" -v b="$alone" 'BEGIN {print a / b}')"
printf 'memory ratio            %.2f×\n' "$(awk -v a="$audioPeak" -v b="$alonePeak" 'BEGIN {print a / b}')"
echo
"$build/bench/bench_export" --benchmark_filter='BM_ExportTrack/100000' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true
