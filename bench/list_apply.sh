#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Times `tonekit-cli list` and `tonekit-cli apply` on a large folder tree against plain reads and
# plain fsync'ed copies of the same MLD files, as whole processes, and reports their peak memory.
#
# usage: bench/list_apply.sh [TONEKIT_CLI]
#   TONEKIT_CLI   a Release tonekit-cli; without it one is built in $BUILD_DIR (build-bench-release)
#   ENTRIES=100000 MLD_FILES=10000 RUNS=3   size of the tree and timed runs per command
#   KEEP=1        keep the tree (its folder is printed)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
entries=${ENTRIES:-100000}
mld_files=${MLD_FILES:-10000}
runs=${RUNS:-3}

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

# time_of NAME COMMAND...: the best wall time of $runs runs and the peak RSS.
declare -A best rss
time_of() {
  local name=$1; shift
  local b= r=0 secs kb
  # Reads get one warm-up run, so that both sides find the tree in the page cache.
  [[ -n ${WRITES:-} ]] || "$@" >/dev/null 2>&1 || true
  for ((k = 0; k < runs; k++)); do
    [[ -n ${BEFORE_EACH:-} ]] && eval "$BEFORE_EACH"
    /usr/bin/time -o "$work/time.out" -f '%e %M' "$@" >/dev/null 2>&1 || true
    read -r secs kb <"$work/time.out"
    if [[ -z $b ]] || awk "BEGIN{exit !($secs < $b)}"; then b=$secs; fi
    (( kb > r )) && r=$kb
  done
  best[$name]=$b
  rss[$name]=$r
  printf '%-10s %8.2f s  %8d KiB max RSS\n' "$name" "$b" "$r"
}

ratio() { awk "BEGIN{ if ($2 > 0) printf \"%.2f\", $1 / $2; else print \"inf\" }"; }

# list against reading every MLD file's bytes.
time_of cat find "$tree" -iname '*.mld' -type f -exec cat {} +
time_of list "$cli" list "$tree"

# apply against an fsync'ed copy of every MLD file. Two lists with different titles take turns,
# so that every run changes every title.
"$cli" list "$tree" >"$work/original.csv" 2>/dev/null
sed 's/","/","X/' "$work/original.csv" >"$work/x.csv"
sed 's/","/","Y/' "$work/original.csv" >"$work/y.csv"
cp "$work/x.csv" "$work/next.csv"
flip() {
  if cmp -s "$work/next.csv" "$work/x.csv"; then cp "$work/y.csv" "$work/next.csv"; else cp "$work/x.csv" "$work/next.csv"; fi
}
WRITES=1 BEFORE_EACH=flip time_of apply "$cli" apply "$work/next.csv" --errors "$work/errors.csv"
[[ ! -e $work/errors.csv ]] || { echo "apply reported failed rows: $work/errors.csv" >&2; exit 1; }
WRITES=1 BEFORE_EACH="find '$tree' -name '*.copy' -delete" time_of copy \
  find "$tree" -iname '*.mld' -type f -exec sh -c 'for f do dd if="$f" of="$f.copy" conv=fsync status=none; done' sh {} +
find "$tree" -name '*.copy' -delete

echo "list / read: $(ratio "${best[list]}" "${best[cat]}")  (target <= 2)"
echo "apply / copy: $(ratio "${best[apply]}" "${best[copy]}")  (target <= 3)"
