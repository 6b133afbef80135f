// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Both languages of the programs: --lang chooses, the error line keeps NUMBER:SOURCE: in each.
#include <gtest/gtest.h>

#include <string>

#include "RunProcess.h"

using tonekit::test::runCli;
using tonekit::test::runProcess;

namespace {

TEST(Language, CliSpeaksTheLanguageChosenAndKeepsTheErrorLinesFrame) {
  const std::string missing = "/nonexistent-tonekit-file.mld";
  const auto english = runCli({"--lang", "en", "info", missing});
  EXPECT_EQ(english.exitCode, 1);
  EXPECT_EQ(english.err.rfind("53:TONEKIT:File not found.", 0), 0u) << english.err;
  const auto japanese = runCli({"--lang=ja", "info", missing});
  EXPECT_EQ(japanese.err.rfind("53:TONEKIT:ファイルが見つかりません。", 0), 0u) << japanese.err;

  // Messages made before any command runs speak it too.
  const auto unknown = runCli({"--lang", "en", "nosuchcommand"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("There is no command “nosuchcommand”."), std::string::npos) << unknown.err;
  EXPECT_EQ(runCli({"--lang", "de", "info", missing}).exitCode, 2);
}

#ifdef TONEKIT_GUI_PATH
TEST(Language, DesktopProgramRefusesAnUnknownLanguageWithoutADisplay) {
  const auto refused = runProcess({TONEKIT_GUI_PATH, "--lang", "fr"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_NE(refused.err.find("--lang takes ja or en"), std::string::npos) << refused.err;
  EXPECT_EQ(runProcess({TONEKIT_GUI_PATH, "--lang", "en", "--version"}).exitCode, 0);
}
#endif

}  // namespace
