# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# No target sees src/ as a whole. Each library publishes only its own folder, through a folder of
# its own in the build tree that holds one link, FOLDER -> src/FOLDER. A target can therefore
# write #include "FOLDER/X.h" only when it links that library (directly or through one it
# links), and an include across an undeclared dependency fails to compile.

# tonekit_publish(TARGET PUBLIC|PRIVATE FOLDER): lets TARGET (and, when PUBLIC, whoever links it)
# include "FOLDER/…".
function(tonekit_publish target scope folder)
  set(published ${PROJECT_BINARY_DIR}/modules/${folder})
  file(MAKE_DIRECTORY ${published})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${published}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${published})
endfunction()

# tonekit_module(TARGET FOLDER [SOURCES files...] [LINKS libraries...] [WINDOWS files...]
#                 [WINDOW_LINKS libraries...]):
# the Qt-free part of src/FOLDER as the static library TARGET linking LINKS, and its windows
# (src/FOLDER/ui/…) as the library TARGET-ui, which links TARGET, the platform and WINDOW_LINKS.
# Each feature's windows are a library of their own, so that a window sees another feature's
# windows only where its folder declares them.
function(tonekit_module target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;LINKS;WINDOWS;WINDOW_LINKS")
  if(arg_SOURCES)
    add_library(${target} STATIC ${arg_SOURCES})
    tonekit_publish(${target} PUBLIC ${folder})
    target_link_libraries(${target} PUBLIC ${arg_LINKS})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTORCC OFF)
    tonekit_warnings(${target})
  endif()
  if(TONEKIT_BUILD_GUI AND arg_WINDOWS)
    list(TRANSFORM arg_WINDOWS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ui/)
    add_library(${target}-ui STATIC ${arg_WINDOWS})
    tonekit_publish(${target}-ui PUBLIC ${folder})
    target_link_libraries(${target}-ui PUBLIC tonekit-platform ${arg_WINDOW_LINKS})
    if(arg_SOURCES)
      target_link_libraries(${target}-ui PUBLIC ${target})
    else()
      target_link_libraries(${target}-ui PUBLIC ${arg_LINKS})
    endif()
    tonekit_warnings(${target}-ui)
  endif()
endfunction()
