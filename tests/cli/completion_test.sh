#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Drives tonekit-cli's bash completion as bash does on TAB: commands, options, the track numbers
# of the file on the line, and only the files a value can be.
#   completion_test.sh TONEKIT_CLI SAMPLES_FOLDER
set -uo pipefail
cli=$(realpath "$1")
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

"$cli" --completion bash >"$work/tonekit-cli" || { echo "no bash script"; exit 1; }
source "$work/tonekit-cli"
complete -p tonekit-cli >/dev/null || { echo "complete -p tonekit-cli: not registered"; exit 1; }

# expect "OFFERED WORDS" WORD... : TAB after the last WORD offers exactly these words (sorted).
expect() {
  local wanted=$1
  shift
  COMP_WORDS=("$cli" "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _tonekit_cli 2>/dev/null  # compopt complains outside a real completion
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | xargs)
  if [ "$got" != "$wanted" ]; then
    echo "tonekit-cli $*<TAB>: expected '$wanted', got '$got'"
    failures=$((failures + 1))
  fi
}

expect "events export export-audio" e
expect "import info" i
expect "--soundfont" render --so
expect "--help --out --track -h" export samples/x.mld -
expect "titl=" set x.mld --text ti
expect "sorc" set x.mld --enable --disable so

# Track numbers come from the file on the line; without one, the four a file may have.
cp "$samples/kaeru.mld" "$work/two.mld"
expect "0 1" events "$work/two.mld" --track ""
expect "0 1" export --out "$work/out.mid" "$work/two.mld" --track ""
expect "0 1 2 3" events --track ""

# A value gets the folders and the files of its kind, whatever the case of the extension.
mkdir "$work/files" "$work/files/sub"
touch "$work/files/"{a.mld,B.MLD,c.mid,d.csv,e.txt}
cd "$work/files"
expect "B.MLD a.mld sub" info ""
expect "c.mid sub" export a.mld --out ""
expect "d.csv sub" apply ""
expect "sub" list ""

# The zsh script is at least one zsh can read.
if command -v zsh >/dev/null; then
  "$cli" --completion zsh >"$work/_tonekit-cli"
  zsh -n "$work/_tonekit-cli" || { echo "zsh cannot read the zsh script"; failures=$((failures + 1)); }
fi
[ "$failures" -eq 0 ]
