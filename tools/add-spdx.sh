#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Puts the licence header at the top of every source file that has none (below a #! line or an
# XML declaration); a second run changes nothing. Below the SPDX line the header says "version 3
# or later" in words, as licensecheck reads an SPDX "-or-later" as version 3 only.
#   tools/add-spdx.sh [FOLDER_OR_FILE]...   (default: the repository's sources and build files)
set -euo pipefail
header=('SPDX-License-Identifier: GPL-3.0-or-later'
  'Copyright (C) 2026 The TONEKIT developers'
  'Licensed under the GNU General Public License, version 3 or later.')
if [ $# -eq 0 ]; then
  root=$(cd "$(dirname "$0")/.." && pwd)
  set -- "$root/src" "$root/tests" "$root/tools" "$root/fuzz" "$root/bench" "$root/cmake" "$root/CMakeLists.txt"
fi

# add FILE START END: the header lines as comments that begin with START and end with END.
add() {
  local file=$1 start=$2 end=$3 tmp keep=0
  head -n 5 "$file" | grep -q 'SPDX-License-Identifier:' && return 0
  head -n 1 "$file" | grep -Eq '^(#!|<\?xml|<!DOCTYPE)' && keep=1
  tmp=$(mktemp "$file.XXXXXX")
  {
    head -n "$keep" "$file"
    for line in "${header[@]}"; do printf '%s%s%s\n' "$start" "$line" "$end"; done
    tail -n +$((keep + 1)) "$file"
  } >"$tmp"
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
}

while IFS= read -r -d '' file; do
  case $file in
    *.cpp | *.h | *.h.in | *.inc) add "$file" '// ' '' ;;
    *.qrc) add "$file" '<!-- ' ' -->' ;;
    *) add "$file" '# ' '' ;;
  esac
done < <(find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.h.in' -o -name '*.inc' -o -name '*.qrc' -o -name '*.sh' \
  -o -name '*.py' -o -name '*.cmake' -o -name CMakeLists.txt \) -print0)
