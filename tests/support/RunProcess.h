// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Runs a program (tonekit-cli in the CLI tests) and captures its exit code and both outputs.

#include <string>
#include <vector>

namespace tonekit::test {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// args[0] is the program's path. stdinText is fed to its standard input.
RunResult runProcess(const std::vector<std::string>& args, const std::string& stdinText = {});

// runProcess with TONEKIT_CLI_PATH as the program.
RunResult runCli(std::vector<std::string> args);

}  // namespace tonekit::test
