// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli smf, run as a separate program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "RunProcess.h"
#include "SmfBuilder.h"
#include "TempDir.h"

using namespace tonekit;
using namespace tonekit::smftest;
using tonekit::test::runCli;
namespace fs = std::filesystem;

namespace {

class SmfCommand : public ::testing::Test {
 protected:
  fs::path write(const std::string& name, const ByteString& data) { return dir_.write(name, data); }
  const fs::path& folder() const { return dir_.path(); }

  tonekit::test::TempDir dir_;
};

}  // namespace

TEST_F(SmfCommand, PrintsTheFactsAsOneJsonObject) {
  const ByteString title{0x83, 0x4a, 0x83, 0x47, 0x83, 0x8b, 0x82, 0xcc, 0x89, 0xcc};  // カエルの歌
  const fs::path file = write("kaeru.mid", header(1, 2, 480) + track({meta(0x03, title), meta(0x02, "(C) me")}) +
                                               track({noteOnOff()}));
  const tonekit::test::RunResult r = runCli({"smf", file.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto json = nlohmann::ordered_json::parse(r.out);
  std::vector<std::string> keys;
  for (const auto& [key, value] : json.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"path", "format", "tracks", "division", "title", "copyright", "time"}));
  EXPECT_EQ(json["path"], file.string());
  EXPECT_EQ(json["format"], 1);
  EXPECT_EQ(json["tracks"], 2);
  EXPECT_EQ(json["division"], 480);
  EXPECT_EQ(json["title"], "カエルの歌");
  EXPECT_EQ(json["copyright"], "(C) me");
  EXPECT_EQ(json["time"], 0);
}

TEST_F(SmfCommand, FileWithoutHeaderPrintsAFreshReadersValues) {
  const fs::path file = write("not-midi.mid", bytesOf("RIFF\4\0\0\0WAVE"));
  const tonekit::test::RunResult r = runCli({"smf", file.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::ordered_json::parse(r.out);
  EXPECT_EQ(json["format"], 0);
  EXPECT_EQ(json["tracks"], 0);
  EXPECT_EQ(json["division"], 0);
  EXPECT_EQ(json["title"], "");
  EXPECT_EQ(json["copyright"], "");
  EXPECT_EQ(json["time"], 0);
}

TEST_F(SmfCommand, FailuresGiveTheErrorLineAndNoOutput) {
  struct Case {
    const char* name;
    ByteString data;
    const char* linePrefix;
  };
  const ByteString cut = header(1, 2, 480);
  const Case cases[] = {
      {"smpte.mid", header(0, 1, 0xE728) + track({noteOnOff()}), "6:TONEKIT:"},
      {"cut.mid", ByteString(cut.begin(), cut.begin() + 11), "9:TONEKIT:"},
      {"notrack.mid", header(0, 1, 96), "5:TONEKIT:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const tonekit::test::RunResult r = runCli({"smf", write(c.name, c.data).string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(c.linePrefix, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

TEST_F(SmfCommand, MissingFileIsAFailureNotZeros) {
  const tonekit::test::RunResult r = runCli({"smf", (folder() / "absent.mid").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("53:TONEKIT:", 0), 0u) << r.err;

  const tonekit::test::RunResult onFolder = runCli({"smf", folder().string()});
  EXPECT_EQ(onFolder.exitCode, 1);
  EXPECT_EQ(onFolder.err.rfind("75:TONEKIT:", 0), 0u) << onFolder.err;
}

TEST_F(SmfCommand, UsageErrorsExitWithTwo) {
  EXPECT_EQ(runCli({"smf"}).exitCode, 2);
  EXPECT_EQ(runCli({"smf", "a.mid", "b.mid"}).exitCode, 2);
}
