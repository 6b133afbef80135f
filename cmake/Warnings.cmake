# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
function(tonekit_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(TONEKIT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
