# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# The program's icon: one SVG in data/icons, drawn by the build into the PNG sizes of the
# hicolor theme. The PNGs are installed and also compiled into the program as its window icon.
find_program(TONEKIT_RSVG_CONVERT rsvg-convert REQUIRED)
set(TONEKIT_ICON_SVG ${PROJECT_SOURCE_DIR}/data/icons/${TONEKIT_APP_ID}.svg)
set(TONEKIT_ICON_SIZES 16 24 32 48 64 128 256)
set(TONEKIT_ICON_DIR ${CMAKE_BINARY_DIR}/icons)

# Draws the PNGs and puts them into target's resources as :/icons/SIZE/ID.png.
function(tonekit_add_icon_resource target)
  set(pngs "")
  foreach(size IN LISTS TONEKIT_ICON_SIZES)
    set(png ${TONEKIT_ICON_DIR}/${size}/${TONEKIT_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${TONEKIT_ICON_DIR}/${size}
      COMMAND ${TONEKIT_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${TONEKIT_ICON_SVG}
      DEPENDS ${TONEKIT_ICON_SVG}
      COMMENT "Drawing the ${size} px icon"
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  qt_add_resources(${target} tonekit_icons PREFIX /icons BASE ${TONEKIT_ICON_DIR} FILES ${pngs})
endfunction()
