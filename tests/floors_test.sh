#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Every #include "FOLDER/…" under src/ runs from a folder down to a folder on a lower floor, or
# stays in its own folder; the Qt-free part of a folder never includes its own windows. The
# floors are read from the README's layout table, so the table and the code cannot drift apart.
#   floors_test.sh REPOSITORY
set -euo pipefail
repo=$1
declare -A floor
# Table rows look like: | 3 | `convert/` `file_list/` | … |
while IFS= read -r line; do
  number=$(sed -E 's/^\| *([0-9]+) *\|.*/\1/' <<<"$line")
  folders=$(cut -d'|' -f3 <<<"$line" | grep -oE '`[a-z0-9_]+/`' | tr -d '`/' || true)
  for folder in $folders; do floor[$folder]=$number; done
done < <(sed -n '/^## Layout/,/^## /p' "$repo/README.md" | grep -E '^\| *[0-9]+ *\|')
[ ${#floor[@]} -gt 0 ] || { echo "README: no floor table under \"## Layout\""; exit 1; }

faults=0
for dir in "$repo"/src/*/; do
  folder=$(basename "$dir")
  [ -n "${floor[$folder]:-}" ] || { echo "src/$folder/ has no floor in the README's table"; faults=$((faults + 1)); }
done
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  rest=${rest#*:}
  target=$(sed -E 's/^[^"]*"([^"]+)".*/\1/' <<<"$rest")
  relative=${file#"$repo"/src/}
  from=${relative%%/*}
  to=${target%%/*}
  [ "$to" = tonekit ] && continue  # the generated version header, below every floor
  case "$target" in
    *Detail.h) [ "$from" = "$to" ] || { echo "src/$relative: includes $target, which is internal to src/$to/"; faults=$((faults + 1)); } ;;
  esac
  if [ "$from" = "$to" ]; then
    case "$relative" in
      */ui/*) ;;
      *) case "$target" in */ui/*) echo "src/$relative: the Qt-free part includes its windows: $target"; faults=$((faults + 1)) ;; esac ;;
    esac
    continue
  fi
  [ -n "${floor[$from]:-}" ] || continue  # counted above
  if [ -z "${floor[$to]:-}" ]; then
    echo "src/$relative: includes $target, which lies on no floor"; faults=$((faults + 1))
  elif [ "${floor[$to]}" -ge "${floor[$from]}" ]; then
    echo "src/$relative (floor ${floor[$from]}) includes $target (floor ${floor[$to]})"; faults=$((faults + 1))
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z0-9_]+/' "$repo/src" --include='*.h' --include='*.cpp' --include='*.inc')
[ "$faults" -eq 0 ] || { echo "$faults include(s) against the floors"; exit 1; }
echo "every include runs down the floors"
