#!/usr/bin/env bash
# Rendering an MLD file to WAV with `tonekit-cli render` against exporting it and rendering the
# export with `fluidsynth -ni -F`, as whole processes on the same file and soundfont, side by side
# (target: render within 1.2× of fluidsynth); then the Google Benchmark of exporting one
# 100,000-event track (target: under 50 ms).
#
# usage: bench/sound.sh [MLD_FILE]
#   MLD_FILE   default samples/kaeru.mld
#   RUNS=5     timed runs of each; the median is reported
#   SF2=…      soundfont (default $TONEKIT_SOUNDFONT, else /usr/share/sounds/sf2/default-GM.sf2)
#   BUILD_DIR  Release build used (default build-bench-release; configured and built here)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
file=${1:-$here/samples/kaeru.mld}
runs=${RUNS:-5}
sf2=${SF2:-${TONEKIT_SOUNDFONT:-/usr/share/sounds/sf2/default-GM.sf2}}
build=${BUILD_DIR:-$here/build-bench-release}

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONEKIT_BUILD_GUI=OFF \
  -DTONEKIT_BUILD_TESTS=OFF -DTONEKIT_BUILD_BENCHMARKS=ON >/dev/null
ninja -C "$build" -j2 tonekit-cli bench_export >/dev/null
cli=$build/src/cli/tonekit-cli
command -v fluidsynth >/dev/null || { echo "fluidsynth is not installed (tools/install-deps.sh)" >&2; exit 2; }
[[ -f $sf2 ]] || { echo "no soundfont at $sf2 (install timgm6mb-soundfont)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tonekit-sound.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$cli" export "$file" --out "$work/exported.mid" >/dev/null

# Median wall time in seconds of running "$@" $runs times.
median() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN {print b - a}')")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

ours=$(median "$cli" render "$file" --out "$work/ours.wav" --soundfont "$sf2")
theirs=$(median fluidsynth -ni -F "$work/theirs.wav" "$sf2" "$work/exported.mid")
printf 'file                    %s\n' "$(basename "$file")"
printf 'tonekit-cli render      %.3f s  (%s bytes)\n' "$ours" "$(stat -c %s "$work/ours.wav")"
printf 'fluidsynth -ni -F       %.3f s  (%s bytes)\n' "$theirs" "$(stat -c %s "$work/theirs.wav")"
printf 'ratio                   %.2f× (target ≤ 1.20×)\n' "$(awk -v a="$ours" -v b="$theirs" 'BEGIN {print a / b}')"
echo
"$build/bench/bench_export" --benchmark_filter='BM_ExportTrack/100000' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true
