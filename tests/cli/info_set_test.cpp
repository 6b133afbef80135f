// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli info and set, run as a user's script runs them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "RunProcess.h"
#include "TempDir.h"
#include "base/CodePage.h"

using namespace tonekit;
using tonekit::test::runCli;
using tonekit::test::runProcess;
using tonekit::test::TempDir;

namespace {

std::string sample(const char* name) { return std::string(TONEKIT_SAMPLES_DIR) + "/" + name; }

nlohmann::json chunkOf(const nlohmann::json& info, const std::string& tag) {
  for (const auto& c : info["chunks"])
    if (c["tag"] == tag) return c;
  return {};
}

}  // namespace

TEST(CliInfo, DescribesASample) {
  const auto r = runCli({"info", sample("kaeru.mld")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto info = nlohmann::json::parse(r.out);
  EXPECT_EQ(info["path"], sample("kaeru.mld"));
  EXPECT_EQ(info["complete"], true);
  EXPECT_TRUE(info["messages"].empty());
  EXPECT_EQ(info["header"]["identifier"], "6d656c6f");
  EXPECT_EQ(info["header"]["major_type"], 2);
  EXPECT_EQ(info["header"]["track_count"], 2);
  EXPECT_EQ(info["note_length"], 4);
  ASSERT_EQ(info["chunks"].size(), 8u);
  const char* order[] = {"copy", "date", "exst", "note", "titl", "sorc", "vers", "prot"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(info["chunks"][i]["tag"], order[i]);
  EXPECT_EQ(chunkOf(info, "titl")["text"], "ｶｴﾙﾉｳﾀ かえるの合唱");
  EXPECT_EQ(chunkOf(info, "sorc")["hex"], "05");
  ASSERT_EQ(info["tracks"].size(), 2u);
  EXPECT_EQ(info["tracks"][1]["key"], "trac1");
  EXPECT_EQ(info["tracks"][0]["hex"].get<std::string>().substr(0, 8), "74726163");
  // The two header fields agree with the file's real size.
  const auto fileLength = info["header"]["file_length"].get<std::int64_t>();
  EXPECT_EQ(fileLength + 8, static_cast<std::int64_t>(std::filesystem::file_size(sample("kaeru.mld"))));
}

TEST(CliInfo, FailuresAndIncompleteReads) {
  TempDir dir;
  auto r = runCli({"info", (dir / "missing.mld").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(r.err.rfind("53:TONEKIT:", 0), 0u) << r.err;

  ByteString bytes = TempDir::read(sample("kirakira.mld"));
  bytes[13] = 'C';  // "copy" becomes "Copy": outside the eight tags
  const auto odd = dir.write("odd.mld", bytes);
  r = runCli({"info", odd.string()});
  EXPECT_EQ(r.exitCode, 0);
  const auto info = nlohmann::json::parse(r.out);
  EXPECT_EQ(info["complete"], false);
  EXPECT_EQ(info["messages"][0], "処理できないファイルフォーマットのようです。");
  EXPECT_NE(r.err.find("処理できないファイルフォーマットのようです。"), std::string::npos);
  EXPECT_TRUE(info["tracks"].empty());

  // Refused to save what it could not read whole.
  r = runCli({"set", odd.string(), "--text", "titl=x"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(TempDir::read(odd), bytes);

  EXPECT_EQ(runCli({"info"}).exitCode, 2);
  EXPECT_EQ(runCli({"frobnicate"}).exitCode, 2);
}

TEST(CliInfo, NameThatIsNoUtf8) {
  TempDir dir;
  const auto r = runCli({"info", dir.write("曲\xff.mld", TempDir::read(sample("kaeru.mld"))).string()});
  EXPECT_EQ(nlohmann::json::parse(r.out)["path"], (dir / "曲\uFFFD.mld").string()) << r.err;
}

TEST(CliSet, ChangesChunksAndKeepsTheTracks) {
  TempDir dir;
  const auto in = dir.write("in.mld", TempDir::read(sample("kaeru.mld")));
  const auto out = dir / "out.mld";
  auto r = runCli({"set", in.string(), "--out", out.string(), "--text", "titl=新しい曲=ｿﾝｸﾞ", "--hex", "sorc=03",
                   "--disable", "prot", "--enable", "exst", "--text", "copy=山﨑髙ⅰⅠ㈱№〜‖−¢£¬—"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(TempDir::read(in), TempDir::read(sample("kaeru.mld")));

  const auto before = nlohmann::json::parse(runCli({"info", in.string()}).out);
  const auto after = nlohmann::json::parse(runCli({"info", out.string()}).out);
  EXPECT_EQ(chunkOf(after, "titl")["text"], "新しい曲=ｿﾝｸﾞ");
  EXPECT_EQ(chunkOf(after, "titl")["hex"], toHex(encodeCp932("新しい曲=ｿﾝｸﾞ").bytes));
  // Windows' bytes: IBM codes over NEC-selected ones, the JIS characters as Linux spells them.
  EXPECT_EQ(chunkOf(after, "copy")["hex"], "8e52fab1fbfcfa408754878a87828160816181" "7c8191819281ca815c");
  EXPECT_EQ(chunkOf(after, "sorc")["hex"], "03");
  EXPECT_EQ(chunkOf(after, "prot")["enabled"], false);
  EXPECT_EQ(after["tracks"], before["tracks"]);

  // Enabling a chunk the file lacks writes it empty; default target is the file itself.
  const auto small = dir.write("small.mld", TempDir::read(sample("kirakira.mld")));
  ASSERT_EQ(runCli({"set", small.string(), "--enable", "prot"}).exitCode, 0);
  const auto info = nlohmann::json::parse(runCli({"info", small.string()}).out);
  EXPECT_EQ(chunkOf(info, "prot")["enabled"], true);
  EXPECT_EQ(chunkOf(info, "prot")["hex"], "");
}

TEST(CliSet, BadRequestsWriteNothing) {
  TempDir dir;
  const ByteString original = TempDir::read(sample("kirakira.mld"));
  const auto in = dir.write("in.mld", original);
  // Each mistake keeps the number of an invalid argument and says in a sentence what was wrong.
  for (auto [args, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--text", "name=x"}, "5:TONEKIT:「name」というタグはありません。使えるタグ: copy, date, exst, note, titl, sorc, vers, prot, ainf, auth, cuep, supt, thrd, code。\n"},
           {{"--text", "titl=😀"}, "5:TONEKIT:「titl」の文字列に、コードページ932で表せない文字があります。\n"},
           {{"--hex", "sorc=0g"}, "5:TONEKIT:「0g」は16進数のバイト列ではありません（例: 0102ff）。\n"},
           {{"--text", "titl"}, "5:TONEKIT:「titl」は「タグ=値」の形になっていません（例: titl=曲名）。\n"},
           {{"--enable", "TITL"}, "5:TONEKIT:「TITL」というタグはありません。使えるタグ: copy, date, exst, note, titl, sorc, vers, prot, ainf, auth, cuep, supt, thrd, code。\n"}}) {
    args.insert(args.begin(), {"set", in.string()});
    const auto r = runCli(args);
    EXPECT_EQ(r.exitCode, 1) << args[2] << " " << args[3];
    EXPECT_EQ(r.err, error);
    EXPECT_EQ(TempDir::read(in), original);
  }
  // A title too long for its field.
  const auto r = runCli({"set", in.string(), "--text", "titl=" + std::string(65536, 'a')});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("6:TONEKIT:", 0), 0u);
  EXPECT_EQ(TempDir::read(in), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // Bytes after the declared length: info counts them, set keeps them unless told to drop them.
  ByteString trailing = original;
  trailing.insert(trailing.end(), 18, 0);
  dir.write("in.mld", trailing);
  EXPECT_NE(runCli({"info", in.string()}).out.find("\"trailing_bytes\": 18"), std::string::npos);
  EXPECT_EQ(runCli({"set", in.string(), "--text", "titl=x"}).exitCode, 1);
  EXPECT_EQ(TempDir::read(in), trailing);
  EXPECT_EQ(runCli({"set", in.string(), "--drop-trailing"}).exitCode, 0);
  EXPECT_EQ(TempDir::read(in), original);
}

TEST(Samples, GeneratorMakesTheCommittedSamples) {
  TempDir dir;
  const auto r = runProcess({TONEKIT_MAKE_SAMPLES_PATH, dir.path().string(), (dir / "inputs").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (const char* name : {"kirakira.mld", "kaeru.mld"})
    EXPECT_EQ(TempDir::read(dir / name), TempDir::read(sample(name))) << name;
  std::size_t inputs = 0;
  for (const auto& made : std::filesystem::directory_iterator(dir / "inputs")) {
    ++inputs;
    EXPECT_EQ(TempDir::read(made.path()), TempDir::read(std::filesystem::path(TONEKIT_FUZZ_CORPUS_DIR) / "mld" /
                                                         made.path().filename()))
        << made.path().filename();
  }
  EXPECT_EQ(inputs, 4u);
}
