#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# tools/add-spdx.sh on a copy of the sources: afterwards licensecheck finds GPL-3.0-or-later in
# every source file, a second run changes nothing, and below the header each file is as it was.
#   licence_headers_test.sh REPOSITORY
set -euo pipefail
repo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$repo/src" "$repo/tools" "$work/"

"$repo/tools/add-spdx.sh" "$work/src" "$work/tools"
first=$(cd "$work" && find . -type f -exec md5sum {} + | sort)
"$repo/tools/add-spdx.sh" "$work/src" "$work/tools"
[ "$first" = "$(cd "$work" && find . -type f -exec md5sum {} + | sort)" ] || { echo "a second run changed files"; exit 1; }

# Resource texts shown to the user (*.txt) carry no header; the copyright file covers them.
wrong=$(licensecheck --shortname-scheme=spdx -r "$work/src" | grep -v '\.txt: ' | grep -v ': GPL-3.0-or-later$' || true)
[ -z "$wrong" ] || { echo "without GPL-3.0-or-later:"; echo "$wrong"; exit 1; }

# The header goes above the content, below a #! line and an XML doctype.
for file in src/app/main.cpp tools/check-install.sh src/header_editor/ui/header_editor.qrc; do
  case $(head -c 2 "$repo/$file") in
    '#!' | '<!') diff <(sed 2,4d "$work/$file") "$repo/$file" ;;
    *) diff <(tail -n +4 "$work/$file") "$repo/$file" ;;
  esac || { echo "$file: more changed than the header"; exit 1; }
done
