#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# The English translation against the texts the programs show: every source text lupdate finds in
# the code has a finished translation that keeps its placeholders (%1 …) and its shortcut (&X);
# a source text changed in the code no longer matches the translation file and fails here.
#   translations_test.py LUPDATE SOURCE_DIR
import html
import pathlib
import re
import subprocess
import sys
import tempfile

lupdate, root = sys.argv[1], pathlib.Path(sys.argv[2])
checked_in = root / "translations" / "tonekit_en.ts"


def messages(ts_text):
    found = {}
    for m in re.finditer(r"<source>(.*?)</source>\s*<translation( type=\"[a-z]+\")?>(.*?)</translation>", ts_text, re.S):
        def text(x):
            return html.unescape(x.replace('<byte value="xd"/>', "\r"))
        found[text(m.group(1))] = (text(m.group(3)), m.group(2))
    return found


sources = sorted(str(p) for p in (root / "src").rglob("*") if p.suffix in (".cpp", ".h"))
with tempfile.TemporaryDirectory() as tmp:
    fresh = pathlib.Path(tmp) / "fresh.ts"
    subprocess.run([lupdate, "-silent", "-locations", "none", "-tr-function-alias",
                    "translate+=TKT,QT_TRANSLATE_NOOP+=TKN", *sources, "-ts", str(fresh)], check=True)
    extracted = set(messages(fresh.read_text(encoding="utf-8")))

translated = messages(checked_in.read_text(encoding="utf-8"))
faults = []
for text in sorted(extracted - set(translated)):
    faults.append(f"shown but not in {checked_in.name} (new or changed source text): {text!r}")
for text in sorted(set(translated) - extracted):
    faults.append(f"in {checked_in.name} but no longer in the code (changed or removed source text): {text!r}")
for text, (english, kind) in sorted(translated.items()):
    if text not in extracted:
        continue
    if kind or not english:
        faults.append(f"no finished translation: {text!r}")
        continue
    if sorted(re.findall(r"%\d+", text)) != sorted(re.findall(r"%\d+", english)):
        faults.append(f"placeholders differ: {text!r} -> {english!r}")
    if re.search(r"&[^&\s]", text) and not re.search(r"&[^&\s]", english):
        faults.append(f"shortcut dropped: {text!r} -> {english!r}")
    if text.count("\r\n") != english.count("\r\n") and text.count("\n") != english.count("\n"):
        faults.append(f"line breaks differ: {text!r} -> {english!r}")

print(f"{len(extracted)} source texts, {len(translated)} translations")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
