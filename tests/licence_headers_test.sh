#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# tools/add-spdx.sh on a copy of the sources with their licence headers taken out: it puts back
# exactly the tree as committed (so every file has its header, above the content and below a #!
# line or an XML doctype), a second run changes nothing, and licensecheck finds GPL-3.0-or-later
# in every source file.
#   licence_headers_test.sh REPOSITORY
set -euo pipefail
repo=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$repo/src" "$repo/tools" "$work/"
find "$work" -type f -exec sed -i '/^\(\/\/\|#\|<!--\) SPDX-License-Identifier:/,+2d' {} +

"$repo/tools/add-spdx.sh" "$work/src" "$work/tools"
first=$(cd "$work" && find . -type f -exec md5sum {} + | sort)
"$repo/tools/add-spdx.sh" "$work/src" "$work/tools"
[ "$first" = "$(cd "$work" && find . -type f -exec md5sum {} + | sort)" ] || { echo "a second run changed files"; exit 1; }

for folder in src tools; do
  diff -r "$work/$folder" "$repo/$folder" || { echo "$folder: the script does not give the tree as committed"; exit 1; }
done

# Resource texts shown to the user (*.txt) carry no header; the copyright file covers them.
wrong=$(licensecheck --shortname-scheme=spdx -r "$work/src" | grep -v '\.txt: ' | grep -v ': GPL-3.0-or-later$' || true)
[ -z "$wrong" ] || { echo "without GPL-3.0-or-later:"; echo "$wrong"; exit 1; }
