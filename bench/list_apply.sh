#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Times `tonekit-cli list` and `tonekit-cli apply` on a large folder tree against their floors, as
# whole processes: reading every MLD file's bytes (find -exec cat) and rewriting each safely
# (bench/safe_copy.cpp); prints the wall and CPU ratios and the peak memory.
#
# usage: bench/list_apply.sh [TONEKIT_CLI]
#   TONEKIT_CLI   a Release tonekit-cli; without it one is built in $BUILD_DIR (build-bench-release)
#   ENTRIES=100000 MLD_FILES=10000 RUNS=5   size of the tree and timed pairs per command
#   KEEP=1        keep the tree (its folder is printed)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
entries=${ENTRIES:-100000}
mld_files=${MLD_FILES:-10000}
runs=${RUNS:-5}

cli=${1:-}
if [[ -z $cli ]]; then
  build=${BUILD_DIR:-$here/build-bench-release}
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONEKIT_BUILD_GUI=OFF \
    -DTONEKIT_BUILD_TESTS=OFF -DTONEKIT_BUILD_BENCHMARKS=OFF >/dev/null
  ninja -C "$build" -j2 tonekit-cli >/dev/null
  cli=$build/src/cli/tonekit-cli
fi
[[ -x $cli ]] || { echo "no tonekit-cli at $cli" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tonekit-bench.XXXXXX")
[[ -n ${KEEP:-} ]] || trap 'rm -rf "$work"' EXIT
tree=$work/tree

# The samples as printf escapes, so that 10,000 copies cost no process each.
escapes() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /\\x/g; s/^/\\x/'; }
sample_a=$(escapes "$here/samples/kirakira.mld")
sample_b=$(escapes "$here/samples/kaeru.mld")

# Three levels of folders, ten MLD files in each leaf folder, and other files beside them up to
# the number of entries (folders included).
leaves=$(( (mld_files + 9) / 10 ))
per_top=$(( (leaves + 9) / 10 ))
mids=$(( (per_top + 9) / 10 ))
folders=0
declare -a leaf_dirs=()
for ((t = 0; t < 10 && ${#leaf_dirs[@]} < leaves; t++)); do
  for ((m = 0; m < mids && ${#leaf_dirs[@]} < leaves; m++)); do
    for ((l = 0; l < 10 && ${#leaf_dirs[@]} < leaves; l++)); do
      leaf_dirs+=("$tree/top$t/mid$m/leaf$l")
    done
  done
done
mkdir -p "${leaf_dirs[@]}"
folders=$(find "$tree" -mindepth 1 -type d | wc -l)
others=$(( entries - folders - mld_files ))
(( others >= 0 )) || others=0
made=0
for ((i = 0; i < mld_files; i++)); do
  dir=${leaf_dirs[$(( i % leaves ))]}
  if (( i % 2 )); then printf "$sample_b" >"$dir/song$i.mld"; else printf "$sample_a" >"$dir/song$i.MLD"; fi
done
for ((i = 0; i < others; i++)); do
  dir=${leaf_dirs[$(( i % leaves ))]}
  case $(( i % 3 )) in
    0) printf 'notes %d\n' "$i" >"$dir/readme$i.txt" ;;
    1) printf 'x' >"$dir/song$i.mld.bak" ;;
    2) printf 'MThd' >"$dir/tune$i.mid" ;;
  esac
done
total=$(find "$tree" -mindepth 1 | wc -l)
echo "tree: $total entries, $(find "$tree" -iname '*.mld' -type f | wc -l) MLD files, $folders folders ($tree)"

# The machine may be shared and its speed drift: each command runs in turn with its yardstick
# (A B A B ...), the ratios of wall and CPU time are taken pair by pair, and their medians given.

# timed COMMAND...: "wall cpu peak-KiB" of one whole-process run.
timed() {
  /usr/bin/time -o "$work/time.out" -f '%e %U %S %M' "$@" >/dev/null 2>&1 || true
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time.out"
}
ratio() { awk "BEGIN{ if ($2 > 0) printf \"%.3f\", $1 / $2; else print \"inf\" }"; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# paired NAME: runs before_A, A, B (the arrays a_cmd and b_cmd) $runs times and prints the medians.
paired() {
  local name=$1 k wa ca ra wb cb rb
  local -a walls=() cpus=()
  for ((k = 0; k < runs; k++)); do
    [[ -n ${before_a:-} ]] && eval "$before_a"
    read -r wa ca ra < <(timed "${a_cmd[@]}")
    read -r wb cb rb < <(timed "${b_cmd[@]}")
    walls+=("$(ratio "$wa" "$wb")")
    cpus+=("$(ratio "$ca" "$cb")")
    printf '  %-5s %6.2f s wall %6.2f s cpu %7d KiB max RSS | floor %6.2f s wall %6.2f s cpu %7d KiB\n' \
      "$name" "$wa" "$ca" "$ra" "$wb" "$cb" "$rb"
  done
  result[$name]="wall $(median "${walls[@]}")x, cpu $(median "${cpus[@]}")x"
}
declare -A result

# list against reading every MLD file's bytes; one warm-up each, so that both find the tree in
# the page cache.
a_cmd=("$cli" list "$tree")
b_cmd=(find "$tree" -iname '*.mld' -type f -exec cat {} +)
"${a_cmd[@]}" >/dev/null 2>&1 || true
"${b_cmd[@]}" >/dev/null 2>&1 || true
before_a='' paired list

# apply against the least any program does to rewrite each file safely (bench/safe_copy.cpp).
# Two lists with different titles take turns, so that every run changes every title.
floor=$work/safe_copy
"${CXX:-g++}" -O2 -o "$floor" "$here/bench/safe_copy.cpp"
"$cli" list "$tree" >"$work/original.csv" 2>/dev/null
sed 's/","/","X/' "$work/original.csv" >"$work/x.csv"
sed 's/","/","Y/' "$work/original.csv" >"$work/y.csv"
cp "$work/x.csv" "$work/next.csv"
flip() {
  if cmp -s "$work/next.csv" "$work/x.csv"; then cp "$work/y.csv" "$work/next.csv"; else cp "$work/x.csv" "$work/next.csv"; fi
}
a_cmd=("$cli" apply "$work/next.csv" --errors "$work/errors.csv")
b_cmd=("$floor" "$tree")
before_a=flip paired apply
[[ ! -e $work/errors.csv ]] || { echo "apply reported failed rows: $work/errors.csv" >&2; exit 1; }

echo "list / read floor: ${result[list]}  (target: wall <= 1.05x)"
echo "apply / safe copy floor: ${result[apply]}  (target: wall <= 1.0x, cpu <= 1.1x)"
