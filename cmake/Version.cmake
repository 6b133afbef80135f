# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# The program's version lives only in project(VERSION …). This makes it visible to the code as
# tonekit/Version.h and names the release it belongs to for the package metadata.
set(TONEKIT_APP_ID "io.github.tonekit.TONEKIT")
# The day the version in project() was released; the metainfo's release entry carries it.
set(TONEKIT_RELEASE_DATE "2026-12-07")
set(TONEKIT_COPYRIGHT_YEARS "2026")

# Where the project lives and who answers for the package. Both go into the metainfo, the
# package's control fields and its copyright file; set them when publishing:
#   cmake -DTONEKIT_HOMEPAGE=https://… -DTONEKIT_MAINTAINER="Name <mail@example.org>" …
set(TONEKIT_HOMEPAGE "https://github.com/tonekit/tonekit" CACHE STRING
    "The project's home page (metainfo, package, copyright file)")
set(TONEKIT_MAINTAINER "The TONEKIT developers <tonekit@users.noreply.github.com>" CACHE STRING
    "Name and mail address of whoever answers for the package")
# Where software centres fetch the pictures of docs/screenshots from.
set(TONEKIT_SCREENSHOTS_URL "${TONEKIT_HOMEPAGE}/raw/main/docs/screenshots" CACHE STRING
    "The address of the folder docs/screenshots as published")
# The version after the one in project(): the metainfo lists what it brings as in development,
# dated by the snapshot it describes.
set(TONEKIT_NEXT_VERSION "1.4.0")
set(TONEKIT_NEXT_SNAPSHOT_DATE "2026-12-08")

configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/tonekit/Version.h @ONLY)
# Every target below may include it.
include_directories(${CMAKE_BINARY_DIR}/generated)
