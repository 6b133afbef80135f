// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "../file_list/MldTestFiles.h"
#include "RunProcess.h"
#include "TempDir.h"
#include "file_list/ListFile.h"
#include "file_list/ListMaker.h"
#include "file_list/ListTexts.h"

namespace fs = std::filesystem;
using namespace tonekit;
using tonekit::test::runCli;
using tonekit::test::sjis;
using tonekit::test::TempDir;
using tonekit::test::titleOf;
using tonekit::test::writeMld;

namespace {

std::string asText(const ByteString& b) { return std::string(b.begin(), b.end()); }

TEST(CliList, PrintsWhatSavingTheListAppends) {
  TempDir dir;
  writeMld(dir / "tree/a.mld", sjis("きらきら星"));
  writeMld(dir / "tree/sub/B.MLD", ByteString{0x81, ',', '"'}, true, "kaeru.mld");
  dir.write("tree/sub/bad.mld", ByteString{'x'});
  dir.write("tree/sub/c.mld.bak", ByteString{'x'});
  const std::string tree = (dir / "tree").string();

  const auto r = runCli({"list", tree});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, asText(listFileBytes(makeMLDList(tree))));
  EXPECT_NE(r.out.find("\"" + (dir / "tree/a.mld").string() + "\",\"" + asText(sjis("きらきら星")) + "\"\r\n"),
            std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 5), "\"\r\n\r\n");

  // Saved to a file, the output is a list file that loads back to the same rows.
  dir.write("list.csv", ByteString(r.out.begin(), r.out.end()));
  ListReadOptions csv;  // B.MLD's title holds a quote
  csv.quotes = QuoteReading::Csv;
  EXPECT_EQ(readListFile(dir / "list.csv", csv).items, makeMLDList(tree));
}

TEST(CliList, FilesItCannotReadAreNamedAndFailTheList) {
  TempDir dir;
  writeMld(dir / "tree/a.mld", sjis("星"));
  ASSERT_EQ(::mkfifo((dir / "tree/pipe.mld").c_str(), 0600), 0);
  const auto r = runCli({"list", (dir / "tree").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find((dir / "tree/pipe.mld").string()), std::string::npos) << r.err;
  EXPECT_EQ(parseListFile(ByteString(r.out.begin(), r.out.end())).items, (MLDList{{(dir / "tree/a.mld").string(), sjis("星")}}));
}

TEST(CliList, NamesTheCodePageCannotHoldGoOnlyIntoUtf8Lists) {
  TempDir dir;
  const auto emoji = writeMld(dir / "tree/曲😀.mld", sjis("絵"));
  const auto question = writeMld(dir / "tree/曲?.mld", sjis("元"));
  auto r = runCli({"list", (dir / "tree").string()});
  EXPECT_EQ(r.err, kLeftOutNotCp932Reason + emoji.string() + "\n");
  EXPECT_EQ(parseListFile(ByteString(r.out.begin(), r.out.end())).items, (MLDList{{question.string(), sjis("元")}}));
  // The UTF-8 list, edited and applied, reaches the right file.
  std::string edited = runCli({"list", "--utf8", (dir / "tree").string()}).out;
  edited.replace(edited.find("絵"), std::string("絵").size(), "新〜");
  r = runCli({"apply", dir.write("list.csv", ByteString(edited.begin(), edited.end())).string(), "--errors", (dir / "e.csv").string()});
  EXPECT_EQ(r.out, "written 1, unchanged 1, failed 0\n") << r.err;
  EXPECT_EQ(titleOf(emoji), sjis("新〜"));
}

TEST(CliList, PatternsAndReaderMessages) {
  TempDir dir;
  ByteString odd = TempDir::read(writeMld(dir / "a.mld", sjis("星")));
  odd[12] = 3;  // more tracks claimed than there are
  dir.write("a.mld", odd);
  dir.write("b.mid", ByteString{'M', 'T', 'h', 'd'});
  const auto r = runCli({"list", dir.path().string(), "--pattern", "*.mid;*.mld"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("b.mid\",\"\"\r\n"), std::string::npos);
  EXPECT_NE(r.err.find(kTrackCountMismatchMessage), std::string::npos);
}

TEST(CliList, NoFileFound) {
  TempDir dir;
  dir.write("readme.txt", ByteString{'x'});
  auto r = runCli({"list", dir.path().string()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "mldファイルがありません。\n");
  // A mistyped folder is no empty one.
  r = runCli({"list", (dir / "missing").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("76:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find((dir / "missing").string()), std::string::npos);
}

TEST(CliList, FolderThatCannotBeReadFails) {
  TempDir dir;
  const auto r = runCli({"list", dir.write("file.mld", ByteString{'x'}).string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("76:", 0), 0u) << r.err;
}

TEST(CliApply, WritesChangedTitlesAndReportsFailures) {
  TempDir dir;
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const auto b = writeMld(dir / "b.mld", sjis("同じ"));
  const MLDList rows{{a.string(), sjis("新しい")}, {b.string(), sjis("同じ")}, {(dir / "gone.mld").string(), sjis("x")}};
  appendListFile(dir / "list.csv", rows);
  const auto errors = dir / "errors.csv";

  auto r = runCli({"apply", (dir / "list.csv").string(), "--errors", errors.string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "written 1, unchanged 1, failed 1\n");
  EXPECT_EQ(titleOf(a), sjis("新しい"));
  EXPECT_EQ(TempDir::read(errors), listFileBytes({rows[2]}));

  // Applying the same list again changes nothing more; the failed row is appended again.
  r = runCli({"apply", (dir / "list.csv").string(), "--errors", errors.string()});
  EXPECT_EQ(r.out, "written 0, unchanged 2, failed 1\n");
  EXPECT_EQ(readListFile(errors).items.size(), 2u);

  appendListFile(dir / "good.csv", {rows[0], rows[1]});
  r = runCli({"apply", (dir / "good.csv").string(), "--errors", (dir / "none.csv").string()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "written 0, unchanged 2, failed 0\n");
  EXPECT_FALSE(fs::exists(dir / "none.csv"));
}

TEST(CliApply, RowsTheListCannotSayExactlyFailAndWriteNothing) {
  TempDir dir;
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const auto b = writeMld(dir / "b.mld", sjis("元"));
  const std::string list = "\xef\xbb\xbf" + a.string() + ",曲😀\n" + b.string() + ",新\n" + a.string() + ",x,y\n";
  dir.write("u.csv", ByteString(list.begin(), list.end()));
  const auto r = runCli({"apply", (dir / "u.csv").string(), "--errors", (dir / "e.csv").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "written 1, unchanged 0, failed 2\n");
  EXPECT_NE(r.err.find("😀"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("u.csv:3: "), std::string::npos) << r.err;
  EXPECT_EQ(titleOf(a), sjis("元"));
  EXPECT_EQ(titleOf(b), sjis("新"));
  // Both refused lines reach the error file as the list held them, in its encoding.
  EXPECT_EQ(asText(TempDir::read(dir / "e.csv")),
            "\xef\xbb\xbf" + a.string() + ",x,y\r\n" + a.string() + ",曲😀\r\n\r\n");
}

// Lines as earlier versions wrote them, kept byte for byte, with one malformed line among them.
TEST(CliApply, ListsOfEarlierVersionsApplyAndMalformedLinesFailAlone) {
  TempDir dir;
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const auto b = writeMld(dir / "b.mld", sjis("元"));
  const auto c = writeMld(dir / "c.mld", sjis("元"));
  const std::string said = asText(sjis("言った")), desu = asText(sjis("です"));
  const std::string list = "\"" + a.string() + "\",\"\"quoted\"\"\r\n\r\n\"" + b.string() + "\",\"" + said + "\"\"" + desu +
                           "\"\r\n/x/bad.mld,\"x\"y\"\r\n\"" + c.string() + "\",\"say \"hi\"\"\r\n\r\n";
  dir.write("old.csv", ByteString(list.begin(), list.end()));
  const auto errors = dir / "errors.csv";
  auto r = runCli({"apply", (dir / "old.csv").string(), "--errors", errors.string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "written 3, unchanged 0, failed 1\n");
  EXPECT_NE(r.err.find("old.csv:4: "), std::string::npos) << r.err;
  EXPECT_EQ(titleOf(a), sjis("\"quoted\""));
  EXPECT_EQ(titleOf(b), sjis("言った\"\"です"));
  EXPECT_EQ(titleOf(c), sjis("say \"hi\""));
  EXPECT_EQ(asText(TempDir::read(errors)), "/x/bad.mld,\"x\"y\"\r\n\r\n");

  // Alone, a line that reads two ways is not guessed; --quotes decides.
  const std::string twoWays = "\"" + a.string() + "\",\"\"\"\"\r\n";
  dir.write("two.csv", ByteString(twoWays.begin(), twoWays.end()));
  r = runCli({"apply", (dir / "two.csv").string(), "--errors", errors.string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "written 0, unchanged 0, failed 1\n");
  EXPECT_NE(r.err.find("--quotes"), std::string::npos) << r.err;
  r = runCli({"apply", (dir / "two.csv").string(), "--errors", errors.string(), "--quotes", "old"});
  EXPECT_EQ(r.out, "written 1, unchanged 0, failed 0\n");
  EXPECT_EQ(titleOf(a), sjis("\"\""));
}

// Code page 932 half-width katakana that are also UTF-8: nothing is written until --encoding says.
TEST(CliApply, ListsThatReadAsBothEncodingsWaitForTheChoice) {
  TempDir dir;
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const std::string list = "\"" + a.string() + "\",\"" + asText(sjis("ﾐｸﾐｸ")) + "\"\n";
  dir.write("l.csv", ByteString(list.begin(), list.end()));
  auto r = runCli({"apply", (dir / "l.csv").string(), "--errors", (dir / "e.csv").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("5:TONEKIT:", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("--encoding utf-8"), std::string::npos) << r.err;
  EXPECT_EQ(titleOf(a), sjis("元"));
  EXPECT_FALSE(fs::exists(dir / "e.csv"));
  r = runCli({"apply", (dir / "l.csv").string(), "--errors", (dir / "e.csv").string(), "--encoding", "cp932"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(titleOf(a), sjis("ﾐｸﾐｸ"));
}

TEST(CliApply, ListFilesWithoutAList) {
  TempDir dir;
  dir.write("empty.csv", ByteString{'\r', '\n'});
  dir.write("nocomma.csv", ByteString{'a', '\r', '\n'});
  auto r = runCli({"apply", (dir / "empty.csv").string(), "--errors", (dir / "e.csv").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "ファイルからリスト情報を読み込めませんでした。\n");
  r = runCli({"apply", (dir / "nocomma.csv").string(), "--errors", (dir / "e.csv").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind((dir / "nocomma.csv").string() + ":1: ", 0), 0u) << r.err;
  r = runCli({"apply", (dir / "missing.csv").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("53:", 0), 0u);
}

TEST(CliApply, ErrorFileThatCannotBeWrittenFailsTheRun) {
  TempDir dir;
  appendListFile(dir / "list.csv", {{(dir / "gone.mld").string(), sjis("x")}});
  const auto r = runCli({"apply", (dir / "list.csv").string(), "--errors", dir.path().string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "written 0, unchanged 0, failed 1\n");
  EXPECT_NE(r.err.find("-2147221502:OutputBuffer.FileOutput:出力失敗"), std::string::npos);
}

}  // namespace
