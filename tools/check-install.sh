#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Checks that TONEKIT installs like a desktop program, from a finished build folder:
#   1. `cmake --install` into a temporary prefix puts exactly the expected files there, and the
#      desktop entry, the metainfo, the MIME type, the man pages and the shell completion pass
#      their validators;
#   2. the programs carry Debian's hardening (PIE, RELRO, bind now, stack protector, fortify);
#      as root: the .deb built by CPack installs, runs from /usr/bin, writes the error list of
#      an unprivileged user into that user's data folder, lintian finds no error in it, and
#      `dpkg -r` leaves nothing behind;
#   3. as root, where the sysctl can be set: the live link races under fs.protected_symlinks=0.
#   tools/check-install.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
samples=$(pwd)/samples
id=io.github.tonekit.TONEKIT
version=$(sed -n 's/.*kVersionString = "\(.*\)";/\1/p' "$build/generated/tonekit/Version.h")
[ -n "$version" ] || { echo "check-install: no version in $build" >&2; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"  # the unprivileged user below reads its list from here
package_installed=0
cleanup() {
  # A failed check must not leave the package on the machine.
  if [ "$package_installed" = 1 ]; then dpkg -r tonekit >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "check-install: $*" >&2
  exit 1
}
# expect_eq WHAT EXPECTED ACTUAL
expect_eq() { [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"; }
# The MIME type the shared-mime-info database gives a file, through xdg-mime and GIO as a GNOME
# desktop would ask, without one running.
filetype() { XDG_CURRENT_DESKTOP=GNOME GIO_USE_VFS=local xdg-mime query filetype "$1"; }
# Renders a man page; groff's warnings fail the check.
render_man() {
  local warnings
  warnings=$(MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $1: $warnings"
  MANWIDTH=80 man -l "$1" 2>/dev/null
}
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

echo "== install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
expected=(
  bin/tonekit bin/tonekit-cli
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/tonekit.1.gz share/man/man1/tonekit-cli.1.gz
  share/man/ja/man1/tonekit.1.gz share/man/ja/man1/tonekit-cli.1.gz
  share/doc/tonekit/copyright share/doc/tonekit/changelog.gz
  share/bash-completion/completions/tonekit-cli share/zsh/vendor-completions/_tonekit-cli
)
for size in 16 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x$size/apps/$id.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort) ||
  fail "the installed files differ from the expected ones (< expected, > installed)"
for size in 16 24 32 48 64 128 256; do
  file -b "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
    fail "the $size px icon is not a $size x $size PNG"
done
expect_eq "tonekit-cli --version" "tonekit-cli $version" "$("$prefix/bin/tonekit-cli" --version | head -n 1)"
expect_eq "tonekit --version without a display" "tonekit $version" "$(no_display "$prefix/bin/tonekit" --version | head -n 1)"
for program in tonekit-cli tonekit; do
  no_display "$prefix/bin/$program" -V | grep -q "GPLv3+" || fail "$program -V does not name the licence"
done

echo "== hardening"
# Built as Debian builds packages (dpkg-buildflags): position-independent, relocations read-only
# and bound at start, stack protector, fortified functions.
for program in tonekit tonekit-cli; do
  # Read whole first: grep -q stopping early would fail the pipe.
  elf=$(readelf -hlW --dyn-syms -d "$prefix/bin/$program")
  grep -Eq 'Type: +DYN' <<<"$elf" || fail "$program is not position-independent"
  grep -q GNU_RELRO <<<"$elf" || fail "$program has no read-only relocations"
  grep -Eq 'BIND_NOW|FLAGS_1.*NOW' <<<"$elf" || fail "$program does not bind at start"
  grep -q ' __stack_chk_fail' <<<"$elf" || fail "$program has no stack protector"
  grep -Eq ' __[a-z]+_chk(@|$)' <<<"$elf" || fail "$program uses no fortified functions"
done

echo "== validators"
desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "the desktop entry names another icon"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo does not name release $version"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo names no project licence"
# Both languages: the desktop entry and the metainfo in English with Japanese beside, and each
# man page in Japanese too.
for key in 'Name' 'Name\[ja\]' 'Comment' 'Comment\[ja\]'; do
  grep -q "^$key=" "$prefix/share/applications/$id.desktop" || fail "the desktop entry has no $key"
done
grep -q '<summary xml:lang="ja">' "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo has no Japanese summary"
grep -q "言語" <(render_man "$prefix/share/man/ja/man1/tonekit.1.gz") || fail "tonekit(1) has no Japanese page"
grep -q "tonekit-cli" <(render_man "$prefix/share/man/ja/man1/tonekit-cli.1.gz") || fail "tonekit-cli(1) has no Japanese page"
gui_page=$(render_man "$prefix/share/man/man1/tonekit.1.gz")
grep -q "tonekit $version" <<<"$gui_page" || fail "tonekit(1) names another version"
cli_page=$(render_man "$prefix/share/man/man1/tonekit-cli.1.gz")
grep -q "tonekit-cli $version" <<<"$cli_page" || fail "tonekit-cli(1) names another version"
# Every environment variable a program reads is in its page.
for variable in TONEKIT_SOUNDFONT TONEKIT_AUDIO_DRIVER XDG_DATA_HOME HOME XDG_CONFIG_HOME; do
  grep -Eq "^       $variable( |\$)" <<<"$gui_page" || fail "tonekit(1) does not describe $variable"
done
for variable in TONEKIT_SOUNDFONT XDG_DATA_HOME HOME; do
  grep -Eq "^       $variable( |\$)" <<<"$cli_page" || fail "tonekit-cli(1) does not describe $variable"
done
# Every command tonekit-cli offers has its section, options included.
for command in $("$prefix/bin/tonekit-cli" --help | sed -n 's/^  \([a-z][a-z0-9-]*\)\( .*\)\?$/\1/p'); do
  grep -q "Usage: tonekit-cli $command " <<<"$cli_page" || fail "tonekit-cli(1) lacks the command $command"
done

# The completion scripts load in their shells.
bash -c "source '$prefix/share/bash-completion/completions/tonekit-cli'; complete -p tonekit-cli" >/dev/null ||
  fail "the bash completion does not register tonekit-cli"
if command -v zsh >/dev/null; then
  zsh -n "$prefix/share/zsh/vendor-completions/_tonekit-cli" || fail "zsh cannot read its completion"
fi

echo "== MIME type, by name and by content"
xdg=$work/xdg
mkdir -p "$xdg/mime/packages" "$work/mime"
cp "$prefix/share/mime/packages/$id.xml" "$xdg/mime/packages/"
XDG_DATA_HOME=$xdg update-mime-database "$xdg/mime"
cp "$samples/kaeru.mld" "$work/mime/kaeru.mld"
cp "$samples/kaeru.mld" "$work/mime/KAERU.MLD"
cp "$samples/kaeru.mld" "$work/mime/kaeru"
printf 'not a melody' >"$work/mime/other"
for f in kaeru.mld KAERU.MLD kaeru; do
  expect_eq "type of $f" application/x-mld "$(XDG_DATA_HOME=$xdg filetype "$work/mime/$f")"
done
[ "$(XDG_DATA_HOME=$xdg filetype "$work/mime/other")" != application/x-mld ] || fail "any file counts as MLD"

if [ "$(id -u)" -ne 0 ]; then
  echo "== Debian package: skipped (installing it needs root)"
  exit 0
fi

echo "== Debian package"
dpkg-query -W -f='${db:Status-Status}' tonekit 2>/dev/null | grep -qx installed &&
  fail "a tonekit package is installed already; this check would replace it"
(cd "$build" && cpack -G DEB -B "$work/deb") >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  fail "cpack failed"
}
deb=$(ls "$work"/deb/tonekit_*.deb)
expect_eq "package version" "$version" "$(dpkg-deb -f "$deb" Version)"
expect_eq "Recommends" "fonts-noto-cjk, qt6-translations-l10n, timgm6mb-soundfont | fluid-soundfont-gm" "$(dpkg-deb -f "$deb" Recommends)"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "Depends does not come from dpkg-shlibdeps"
# lintian's errors block a distribution; its warnings are looked at by hand. Its hardening tags
# (information level) say a program was built without the flags Debian builds packages with.
lintian_report=$(lintian -I "$deb" 2>/dev/null || true)
! grep -q '^E:' <<<"$lintian_report" || fail "lintian: $lintian_report"
! grep -E '^[EWI]: .*hardening-' <<<"$lintian_report" || fail "lintian: built without hardening flags"
! dpkg-deb --info "$deb" | grep -Eq '^ +[0-9]+ bytes, +[0-9]+ lines +\*? *(pre|post)(inst|rm)' ||
  fail "the package has maintainer scripts"

package_installed=1
dpkg -i "$deb" >/dev/null
mapfile -t owned < <(dpkg -L tonekit)
expect_eq "installed tonekit-cli --version" "tonekit-cli $version" "$(/usr/bin/tonekit-cli --version | head -n 1)"
bash -c 'source /usr/share/bash-completion/completions/tonekit-cli; complete -p tonekit-cli' >/dev/null ||
  fail "the installed bash completion does not register tonekit-cli"
[ -s /usr/share/doc/tonekit/copyright ] || fail "no copyright file"
cp "$samples/kaeru.mld" "$work/sample.mld"
/usr/bin/tonekit-cli info "$work/sample.mld" | grep -q '"complete": true' || fail "tonekit-cli info does not read the sample"
expect_eq "installed tonekit --version" "tonekit $version" "$(QT_QPA_PLATFORM=offscreen /usr/bin/tonekit --version | head -n 1)"
expect_eq "man -w tonekit-cli" /usr/share/man/man1/tonekit-cli.1.gz "$(man -w tonekit-cli)"
expect_eq "man -L ja -w tonekit" /usr/share/man/ja/man1/tonekit.1.gz "$(man -L ja -w tonekit)"
# Debian's triggers have run: the system knows the type and the program that opens it.
expect_eq "type without extension, system database" application/x-mld "$(XDG_DATA_HOME=$work/none filetype "$work/mime/kaeru")"
grep -q "^application/x-mld=.*$id.desktop" /usr/share/applications/mimeinfo.cache ||
  fail "the desktop database does not know that TONEKIT opens MLD files"

# /usr/bin is not writable for a user: the error list goes to that user's data folder and the
# message names it.
home=$work/home
mkdir -p "$home"
chown nobody "$home"
printf '"%s","title"\r\n' "$work/missing.mld" >"$work/list.csv"
status=0
message=$(cd "$home" && runuser -u nobody -- env -u XDG_DATA_HOME HOME="$home" /usr/bin/tonekit-cli apply "$work/list.csv" 2>&1) ||
  status=$?
expect_eq "apply with a failing row, exit status" 1 "$status"
errors=$home/.local/share/tonekit/ExecuteError.csv
[ -s "$errors" ] || fail "no error list in the user's data folder: $message"
grep -qF "$errors" <<<"$message" || fail "the message does not name $errors: $message"

dpkg -r tonekit >/dev/null
package_installed=0
state=$(dpkg-query -W -f='${db:Status-Status}' tonekit 2>/dev/null || true)
[ -z "$state" ] || [ "$state" = not-installed ] || fail "after dpkg -r the package is $state"
for path in "${owned[@]}"; do
  [ -d "$path" ] && continue  # folders the package shares with others
  [ ! -e "$path" ] && [ ! -L "$path" ] || fail "dpkg -r left $path behind"
done
! grep -q "application/x-mld" /usr/share/mime/types || fail "the MIME database still knows application/x-mld"
! grep -q "$id" /usr/share/applications/mimeinfo.cache || fail "the desktop database still names $id"

# The live link races once more with the kernel's own link protection off, so that only the
# program's path walk stands between the racing user and root's files. Only where the machine
# lets the setting change (not in most containers); the setting is put back afterwards.
race_tests="$build/tests/test_file_list"
if [ "$(id -u)" = 0 ] && [ -x "$race_tests" ]; then
  old_symlinks=$(sysctl -n fs.protected_symlinks 2>/dev/null || echo "")
  if [ -n "$old_symlinks" ] && sysctl -qw fs.protected_symlinks=0 2>/dev/null; then
    race_status=0
    TONEKIT_RACE_SECONDS=10 "$race_tests" --gtest_filter='LinkRace.*' >"$work/race.log" 2>&1 || race_status=$?
    sysctl -qw fs.protected_symlinks="$old_symlinks"
    [ "$race_status" = 0 ] || fail "live link race with fs.protected_symlinks=0: $(tail -20 "$work/race.log")"
    echo "== live link race passed with fs.protected_symlinks=0"
  else
    echo "== fs.protected_symlinks cannot be set here; live link race left to the test suite"
  fi
fi
echo "== install checks passed"
