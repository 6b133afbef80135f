# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Optimised builds get the flags Debian builds its packages with (dpkg-buildflags with every
# hardening feature: fortified string and memory functions, stack protector, read-only
# relocations bound at start, position-independent executables). The build type keeps choosing
# the optimisation and debug information.
option(TONEKIT_DISTRO_FLAGS "Build optimised binaries with the hardening flags of dpkg-buildflags" ON)

if(TONEKIT_DISTRO_FLAGS AND NOT TONEKIT_SANITIZE AND NOT TONEKIT_FUZZ
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  find_program(TONEKIT_DPKG_BUILDFLAGS dpkg-buildflags)
  if(TONEKIT_DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${TONEKIT_DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      separate_arguments(flags UNIX_COMMAND "${flags}")
      list(FILTER flags EXCLUDE REGEX "^-(g|O.*)$")
      if(kind STREQUAL "LDFLAGS")
        add_link_options(${flags})
      else()
        add_compile_options(${flags})
      endif()
    endforeach()
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  else()
    message(STATUS "dpkg-buildflags not found: optimised binaries without Debian's hardening flags")
  endif()
endif()
