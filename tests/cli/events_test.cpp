// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli events: a track's grid as TAB-separated lines.
#include <gtest/gtest.h>

#include <sstream>

#include "MldBuilder.h"
#include "RunProcess.h"
#include "TempDir.h"

using namespace tonekit;
using tonekit::test::runCli;
using tonekit::test::TempDir;

namespace {

const char* const kHeaderLine = "イベントNo\tΔタイム\tチャネル\t音程\t音の長さ\t音の強さ\tｵｸﾀｰﾌﾞｼﾌﾄ\t備考";

std::string sample(const char* name) { return std::string(TONEKIT_SAMPLES_DIR) + "/" + name; }

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// An MFi file with the given "note" chunk value (none when empty) and track event data.
ByteString mldWith(const ByteString& note, const std::vector<ByteString>& tracks) {
  std::vector<ByteString> chunks, chunksOfTracks;
  if (!note.empty()) chunks.push_back(mldtest::chunk("note", note));
  for (const auto& events : tracks) chunksOfTracks.push_back(mldtest::track(events));
  return mldtest::mld(chunks, chunksOfTracks, 1, 0);
}

}  // namespace

TEST(CliEvents, PrintsTheFirstTrackOfASample) {
  const auto r = runCli({"events", sample("kirakira.mld")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = linesOf(r.out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], kHeaderLine);
  EXPECT_EQ(lines[1].substr(0, 2), "1\t");
  EXPECT_EQ(lines.back().substr(lines.back().rfind('\t') + 1), "Extend : EndOfTrack");
}

TEST(CliEvents, ShowsEveryEventWithBothNoteLengths) {
  TempDir dir;
  // 3-byte notes: a note, a voice edit carrying 3 data bytes, a volume of part 2 (0xBF, four
  // bytes as every extend-status event), EndOfTrack, a fragment.
  const ByteString events3 = {0x00, 0x05, 0x30, 0x00, 0xFF, 0xF0, 0x00, 0x03, 0xFF, 0xDF, 0x00,
                              0x01, 0xBF, 0xE2, 0xA8, 0x02, 0xFF, 0xDF, 0x00, 0x09};
  const auto file3 = dir.write("three.mld", mldWith({}, {events3}));
  auto r = runCli({"events", file3.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, std::string(kHeaderLine) + "\n" +
                       "1\t0\t0\t5\t48\t\t\tNote : D  (-2・レ)\n"
                       "2\t0\t3\t63\t240\t\t\tExtend : 音色編集\n"
                       "3\t1\t2\t63\t226\t\t\tExtend : 音量\n"
                       "4\t2\t3\t63\t223\t\t\tExtend : EndOfTrack\n"
                       "5\t9\t\t\t\t\t\t\n");

  // 4-byte notes on the second track.
  const ByteString events4 = {0x10, 0x9B, 0x30, 0xFE, 0x00, 0xFF, 0xDF, 0x00};
  const auto file4 = dir.write("four.mld", mldWith({0x01, 0x01}, {{0x00, 0xFF, 0xDF, 0x00}, events4}));
  r = runCli({"events", file4.string(), "--track", "1"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(linesOf(r.out),
            (std::vector<std::string>{kHeaderLine, "1\t16\t2\t27\t48\t63\t2\tNote : C  (0・ド)",
                                      "2\t0\t3\t63\t223\t\t\tExtend : EndOfTrack"}));

  // An empty track prints the headers alone.
  const auto empty = dir.write("empty.mld", mldWith({}, {{}}));
  r = runCli({"events", empty.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, std::string(kHeaderLine) + "\n");
}

TEST(CliEvents, MissingTrackOrFileFailsWithTheErrorLine) {
  auto r = runCli({"events", sample("kirakira.mld"), "--track", "1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("9:TONEKIT:"), std::string::npos) << r.err;

  r = runCli({"events", sample("kirakira.mld"), "--track", "-1"});
  EXPECT_EQ(r.exitCode, 1);

  TempDir dir;
  r = runCli({"events", (dir / "none.mld").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(r.err.empty());
}
