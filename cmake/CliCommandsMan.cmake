# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Writes the help2man include section COMMANDS: the --help of every command tonekit-cli lists,
# so that commands added later appear in the man page without anyone editing it.
#   cmake -DCLI=path/to/tonekit-cli -DOUTPUT=file.h2m -P CliCommandsMan.cmake

execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed: ${status}")
endif()

# The commands: the indented entries of the listing that are not options ("-h,--help"), under
# "Subcommands:" or any group heading a command may be given.
string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" names "\n${help}")
if(NOT names)
  message(FATAL_ERROR "${CLI} --help lists no commands")
endif()

# Text as roff: backslashes and hyphens escaped, no line taken for a request.
function(as_roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(content "[COMMANDS]\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${CLI} ${name} --help OUTPUT_VARIABLE command_help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} ${name} --help failed: ${status}")
  endif()
  string(STRIP "${command_help}" command_help)
  as_roff("${command_help}" command_help)
  as_roff("${name}" title)
  string(APPEND content ".SS ${title}\n.nf\n${command_help}\n.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${content}")
