# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# `cpack -G DEB` in the build folder: a Debian package of what `cmake --install` puts in /usr.
# Its dependencies come from dpkg-shlibdeps. It has no maintainer scripts: the desktop database,
# the MIME database, the icon cache and the man index are refreshed by Debian's own triggers.
set(CPACK_PACKAGE_NAME tonekit)
set(CPACK_PACKAGE_VENDOR "The TONEKIT developers")
set(CPACK_PACKAGE_CONTACT "${TONEKIT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TONEKIT_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "TONEKIT edits MLD files, the MFi and MFi2 melody (ringtone) files of Japanese
i-mode phones. It changes a file's information part (title, copyright, date,
version and the other chunks) without touching the sound data, edits the single
events of each track, plays the melody through FluidSynth, exports it as a
Standard MIDI File or renders it to WAV, makes new ringtones from MIDI files,
and updates the titles of many files at once through a CSV list.
tonekit-cli does the same work from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n, timgm6mb-soundfont | fluid-soundfont-gm")
include(CPack)
