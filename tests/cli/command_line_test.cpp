// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// --help and --version of both programs, as scripts, help2man and the package checks call them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "RunProcess.h"
#include "tonekit/Version.h"

using tonekit::test::runCli;
using tonekit::test::runProcess;

namespace {

// The command names in tonekit-cli --help: the indented entries that are not options.
std::vector<std::string> listedCommands(const std::string& help) {
  std::vector<std::string> names;
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] >= 'a' && line[2] <= 'z') {
      names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  return names;
}

}  // namespace

TEST(CommandLine, CliVersionAndEveryCommandsHelp) {
  const auto version = runCli({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("tonekit-cli ") + tonekit::kVersionString + "\n" + tonekit::kLicenceNotice + "\n");
  EXPECT_EQ(runCli({"-V"}).out, version.out);

  const auto help = runCli({"--help"});
  ASSERT_EQ(help.exitCode, 0);
  const std::vector<std::string> commands = listedCommands(help.out);
  EXPECT_GE(commands.size(), 6u) << help.out;
  for (const std::string& command : commands) {
    const auto own = runCli({command, "--help"});
    EXPECT_EQ(own.exitCode, 0) << command;
    EXPECT_NE(own.out.find("Usage: tonekit-cli " + command + " "), std::string::npos) << own.out;
  }

  // A mistyped command is named, with the commands there are, as a usage error.
  const auto unknown = runCli({"evnets", "x.mld"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("「evnets」というコマンドはありません。"), std::string::npos) << unknown.err;
  for (const std::string& command : commands) EXPECT_NE(unknown.err.find(command), std::string::npos) << command;
  const auto none = runCli({});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_EQ(none.err.rfind("tonekit-cli: コマンドを指定してください。使えるコマンド: info, ", 0), 0u) << none.err;
}

#ifdef TONEKIT_GUI_PATH
// Without any display: help and version must not need a window system.
TEST(CommandLine, DesktopProgramAnswersHelpAndVersionWithoutDisplay) {
  const std::vector<std::string> noDisplay{"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                           "-u", "QT_QPA_PLATFORM", TONEKIT_GUI_PATH};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), noDisplay.begin(), noDisplay.end());
    return runProcess(args);
  };
  const auto version = run({"--version"});
  EXPECT_EQ(version.exitCode, 0) << version.err;
  EXPECT_EQ(version.out, std::string("tonekit ") + tonekit::kVersionString + "\n" + tonekit::kLicenceNotice + "\n");
  EXPECT_EQ(run({"-V"}).out, version.out);
  EXPECT_EQ(run({"-v", "--version"}).exitCode, 2) << "-v reads as verbose to scripts";

  const auto help = run({"-h"});
  EXPECT_EQ(help.exitCode, 0) << help.err;
  EXPECT_EQ(help.out.rfind("Usage: tonekit [options] [FILE]\n", 0), 0u) << help.out;

  for (const auto& args : {std::vector<std::string>{"--no-such-option", "--version"},
                           std::vector<std::string>{"--no-such-option"}}) {
    const auto wrong = run(args);
    EXPECT_EQ(wrong.exitCode, 2) << args.size();
    EXPECT_NE(wrong.err.find("no-such-option"), std::string::npos) << wrong.err;
  }
}
#endif
