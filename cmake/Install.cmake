# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# What `cmake --install` puts beside the two programs, in the places desktops and man look:
# desktop entry, MIME type, icons, metainfo (with the desktop program) and the man pages.
include(GNUInstallDirs)

set(data ${PROJECT_SOURCE_DIR}/data)
# The licence as Debian tools read it (DEP-5).
configure_file(${data}/copyright.in ${CMAKE_BINARY_DIR}/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TONEKIT_BUILD_GUI)
  include(${PROJECT_SOURCE_DIR}/cmake/Icons.cmake)
  install(FILES ${data}/${TONEKIT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${data}/${TONEKIT_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  configure_file(${data}/${TONEKIT_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/${TONEKIT_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${TONEKIT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${TONEKIT_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS TONEKIT_ICON_SIZES)
    install(FILES ${TONEKIT_ICON_DIR}/${size}/${TONEKIT_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# Man pages, made by help2man from the programs' own --help and --version so that they cannot
# drift apart; data/man/*.h2m adds what --help does not say. Sanitizer and fuzz builds run
# nothing at build time and install nothing.
if(TONEKIT_SANITIZE OR TONEKIT_FUZZ)
  return()
endif()
find_program(TONEKIT_HELP2MAN help2man REQUIRED)
find_program(TONEKIT_GZIP gzip REQUIRED)
set(man_dir ${CMAKE_BINARY_DIR}/man)
set(man_pages "")
set(man_pages_ja "")

# tonekit_man_page(PROGRAM TARGET [INCLUDE h2m]...): the English page in man/, and the Japanese
# one in man/ja/ when data/man/ja/PROGRAM.h2m exists (the option list stays --help's).
function(tonekit_man_page program target)
  set(includes "")
  foreach(file IN LISTS ARGN)
    list(APPEND includes --include=${file})
  endforeach()
  add_custom_command(OUTPUT ${man_dir}/${program}.1 ${man_dir}/${program}.1.gz
    # help2man writes in the build's locale; without UTF-8 every Japanese menu name became "?".
    COMMAND ${TONEKIT_HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr --section=1 ${includes}
            --output=${man_dir}/${program}.1 $<TARGET_FILE:${target}>
    COMMAND ${TONEKIT_GZIP} -9 -n -f -k ${man_dir}/${program}.1
    DEPENDS ${target} ${ARGN}
    COMMENT "Writing the man page ${program}(1)"
    VERBATIM)
  set(pages ${man_dir}/${program}.1.gz)
  set(japanese ${PROJECT_SOURCE_DIR}/data/man/ja/${program}.h2m)
  if(EXISTS ${japanese})
    add_custom_command(OUTPUT ${man_dir}/ja/${program}.1 ${man_dir}/ja/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}/ja
      COMMAND ${TONEKIT_HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr --section=1
              --include=${japanese} --output=${man_dir}/ja/${program}.1 $<TARGET_FILE:${target}>
      COMMAND ${TONEKIT_GZIP} -9 -n -f -k ${man_dir}/ja/${program}.1
      DEPENDS ${target} ${japanese}
      COMMENT "Writing the Japanese man page ${program}(1)"
      VERBATIM)
    list(APPEND pages ${man_dir}/ja/${program}.1.gz)
    set(man_pages_ja ${man_pages_ja} ${man_dir}/ja/${program}.1.gz PARENT_SCOPE)
  endif()
  set(man_pages ${man_pages} ${pages} PARENT_SCOPE)
endfunction()

add_custom_command(OUTPUT ${man_dir}/tonekit-cli-commands.h2m
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:tonekit-cli> -DOUTPUT=${man_dir}/tonekit-cli-commands.h2m
          -P ${PROJECT_SOURCE_DIR}/cmake/CliCommandsMan.cmake
  DEPENDS tonekit-cli ${PROJECT_SOURCE_DIR}/cmake/CliCommandsMan.cmake
  COMMENT "Collecting the help of every tonekit-cli command"
  VERBATIM)
tonekit_man_page(tonekit-cli tonekit-cli ${PROJECT_SOURCE_DIR}/data/man/tonekit-cli.h2m
                 ${man_dir}/tonekit-cli-commands.h2m)
if(TONEKIT_BUILD_GUI)
  tonekit_man_page(tonekit tonekit ${PROJECT_SOURCE_DIR}/data/man/tonekit.h2m)
endif()
add_custom_target(tonekit-man ALL DEPENDS ${man_pages})
set(man_pages_en ${man_pages})
list(REMOVE_ITEM man_pages_en ${man_pages_ja})
install(FILES ${man_pages_en} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${man_pages_ja} DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)

# The package's changelog, which Debian tools expect beside the copyright file.
configure_file(${data}/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${TONEKIT_GZIP} -9 -n -f -k ${CMAKE_BINARY_DIR}/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/changelog
  VERBATIM)
add_custom_target(tonekit-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Shell completion, written by tonekit-cli from the command table its --help comes from.
set(completion_dir ${CMAKE_BINARY_DIR}/completion)
add_custom_command(OUTPUT ${completion_dir}/tonekit-cli ${completion_dir}/_tonekit-cli
  COMMAND ${CMAKE_COMMAND} -E make_directory ${completion_dir}
  COMMAND sh -c "\"$0\" --completion bash >\"$1\" && \"$0\" --completion zsh >\"$2\""
          $<TARGET_FILE:tonekit-cli> ${completion_dir}/tonekit-cli ${completion_dir}/_tonekit-cli
  DEPENDS tonekit-cli
  COMMENT "Writing the shell completion of tonekit-cli"
  VERBATIM)
add_custom_target(tonekit-completion ALL DEPENDS ${completion_dir}/tonekit-cli ${completion_dir}/_tonekit-cli)
install(FILES ${completion_dir}/tonekit-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${completion_dir}/_tonekit-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
