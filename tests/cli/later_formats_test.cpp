// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli info and set on files of the later format versions.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "MldBuilder.h"
#include "RunProcess.h"
#include "TempDir.h"
#include "base/CodePage.h"

using namespace tonekit;
using tonekit::test::runCli;
using tonekit::test::TempDir;

namespace {

ByteString sjis(const char* utf8) { return encodeCp932(utf8).bytes; }

const ByteString kUnknown = mldtest::chunk("zqxw", {0x00, 0xFF});

}  // namespace

TEST(CliLaterFormats, InfoListsTheOtherAndAudioChunks) {
  TempDir dir;
  const auto in = dir.write("later.mld", mldtest::laterMld(2, 3, sjis("後期"), {kUnknown}));
  const auto r = runCli({"info", in.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto info = nlohmann::json::parse(r.out);
  EXPECT_EQ(info["tracks"].size(), 2u);
  const auto& others = info["other_chunks"];
  ASSERT_EQ(others.size(), 7u);
  EXPECT_EQ(others[0], nlohmann::json({{"tag", "ainf"}, {"length", 2}, {"hex", "0300"}, {"text", nullptr},
                                       {"meaning", "音声情報: adat 3個"}}));
  EXPECT_EQ(others[3]["text"], "support 0120-000-000");
  EXPECT_EQ(others[6]["tag"], "zqxw");
  EXPECT_EQ(info["audio_chunks"], nlohmann::json({{"count", 3}, {"sizes", {1008, 1508, 2008}}}));
}

TEST(CliLaterFormats, SetRetitlesAndChangesOtherChunksByTagKeepingEveryOtherByte) {
  TempDir dir;
  const auto in = dir.write("later.mld", mldtest::laterMld(3, 2, sjis("後期"), {kUnknown}));
  ASSERT_EQ(runCli({"set", in.string(), "--text", "titl=新しい題"}).exitCode, 0);
  EXPECT_EQ(TempDir::read(in), mldtest::laterMld(3, 2, sjis("新しい題"), {kUnknown}));

  // Text into a chunk the later versions name, one the file has removed, a new one added.
  const auto out = dir / "out.mld";
  const auto r = runCli({"set", in.string(), "--out", out.string(), "--text", "supt=お問い合わせ", "--disable", "zqxw",
                         "--disable", "cuep", "--enable", "auth", "--hex", "thrd=0a0b"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto info = nlohmann::json::parse(runCli({"info", out.string()}).out);
  std::vector<std::string> tags;
  for (const auto& c : info["other_chunks"]) tags.push_back(c["tag"]);
  EXPECT_EQ(tags, (std::vector<std::string>{"ainf", "auth", "supt", "thrd", "code"}));
  EXPECT_EQ(info["other_chunks"][2]["text"], "お問い合わせ");
  EXPECT_EQ(info["other_chunks"][3]["hex"], "0a0b");
  EXPECT_EQ(info["audio_chunks"]["count"], 2);

  // A lowercase tag neither named nor in the file is a typing error, not a new chunk.
  const ByteString before = TempDir::read(in);
  const auto typo = runCli({"set", in.string(), "--text", "supr=x"});
  EXPECT_EQ(typo.exitCode, 1);
  EXPECT_NE(typo.err.find("supr"), std::string::npos) << typo.err;
  EXPECT_EQ(TempDir::read(in), before);
}

TEST(CliLaterFormats, EffectsAndDamagedTracksAsInfoAndEventsShowThem) {
  TempDir dir;
  // The effect frames whole with "exst" 1: eight events, none of them a note.
  const auto effect = dir.write("se.mld", mldtest::mfi4Effect());
  const auto events = runCli({"events", effect.string()});
  ASSERT_EQ(events.exitCode, 0) << events.err;
  EXPECT_EQ(std::count(events.out.begin(), events.out.end(), '\n'), 1 + 8);
  EXPECT_EQ(events.out.find("Note :"), std::string::npos);
  EXPECT_NE(events.out.find("5\t1\t1\t63\t0\t\t\tExtend : オーディオ再生開始\n"), std::string::npos) << events.out;
  const auto shown = runCli({"info", effect.string()}).out;
  auto info = nlohmann::json::parse(shown);
  EXPECT_EQ(info["damaged_tracks"], nlohmann::json::array());
  EXPECT_GT(shown.find("\"damaged_tracks\""), shown.find("\"audio_chunks\""));

  // A track that ends in half a note and one without end-of-track, after a whole one.
  const auto damaged = dir.write("damaged.mld", mldtest::mld({}, {mldtest::track({0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00}),
                                                                  mldtest::track({0x00, 0x05, 0x30, 0x00, 0x47}),
                                                                  mldtest::track({0x00, 0x05, 0x30})}));
  info = nlohmann::json::parse(runCli({"info", damaged.string()}).out);
  EXPECT_EQ(info["damaged_tracks"], nlohmann::json::parse(R"([{"key": "trac1", "offset": 3}, {"key": "trac2", "offset": 3}])"));
}
