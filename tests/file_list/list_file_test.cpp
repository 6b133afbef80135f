// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "MldTestFiles.h"
#include "TempDir.h"
#include "file_list/ListFile.h"
#include "file_list/ListTexts.h"
#include "file_list/clsOutputBuffer.h"
#include "file_list/clsStringUtil.h"

using namespace tonekit;
using tonekit::test::sjis;
using tonekit::test::TempDir;

namespace {

ByteString raw(const std::string& s) { return ByteString(s.begin(), s.end()); }

MLDList sampleRows() {
  return {
      {"/music/a.mld", sjis("きらきら星")},
      {"/music/b.mld", raw("say \"hi\", then, \"bye\"")},
      {"/music/c.mld", {}},
      {"/music/d.mld", raw("\"")},
      {"/music/ｶﾅ/e.mld", sjis("ｶｴﾙﾉｳﾀ かえるの合唱")},
  };
}

TEST(ListFile, WrittenBytesAreTheLineFormat) {
  const MLDList rows{{"/m/a.mld", sjis("星")}, {"/m/b.mld", {}}};
  const ByteString expected = raw("\"/m/a.mld\",\"\x90\xaf\"\r\n\"/m/b.mld\",\"\"\r\n\r\n");
  EXPECT_EQ(listFileBytes(rows), expected);
  EXPECT_EQ(listLineBytes(rows[1]), raw("\"/m/b.mld\",\"\"\r\n"));
  // Paths are code page 932 in the file, like titles.
  EXPECT_EQ(listLineBytes({"/ｶ.mld", {}}), raw("\"/\xb6.mld\",\"\"\r\n"));
  EXPECT_EQ(listFileBytes({}), raw("\r\n"));
}

TEST(ListFile, SavedListLoadsBackUnchanged) {
  TempDir dir;
  const auto file = dir / "list.csv";
  appendListFile(file, sampleRows());
  const ListFileContent loaded = readListFile(file);
  EXPECT_TRUE(loaded.hadLines);
  EXPECT_EQ(loaded.items, sampleRows());
}

TEST(ListFile, TitlesThatAreNoTextSurviveSaveAndLoad) {
  // A lone lead byte, a lead byte before a comma, an unassigned pair, a byte the code page
  // lacks: none decodes, all must come back as they were.
  const MLDList rows{{"/m/a.mld", raw("\x81")},
                     {"/m/b.mld", raw("ab\x82,c")},
                     {"/m/c.mld", raw("\x85\x40\xa0\xfd")},
                     {"/m/d.mld", raw("\x82\xff\"x")}};
  for (const auto& row : rows) ASSERT_FALSE(roundTripsCp932(row.MLDTitle));
  const ListFileContent loaded = parseListFile(listFileBytes(rows));
  EXPECT_EQ(loaded.items, rows);
}

TEST(ListFile, AppendingKeepsEveryList) {
  TempDir dir;
  const auto file = dir / "list.csv";
  const MLDList first{{"/m/1.mld", sjis("一")}};
  const MLDList second{{"/m/2.mld", sjis("二")}, {"/m/3.mld", sjis("三")}};
  appendListFile(file, first);
  appendListFile(file, second);
  ByteString expected = listFileBytes(first);
  const ByteString tail = listFileBytes(second);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(TempDir::read(file), expected);
  MLDList all = first;
  all.insert(all.end(), second.begin(), second.end());
  EXPECT_EQ(readListFile(file).items, all);
}

TEST(ListFile, RowsThatWouldReadBackAsAnotherFileStayOut) {
  const MLDList rows{{"/m/曲😀.mld", sjis("絵文字")}, {"/m/曲〜.mld", {}}, {"/m/a\rb.mld", {}}, {"/m/x,y.mld", {}},
                     {"/m/\xff.mld", {}},          {"/m/t.mld", raw("a\r/m/曲.mld,b")}, {"/m/曲.mld", raw("\x81")}};
  std::vector<std::size_t> leftOut;
  EXPECT_EQ(parseListFile(listFileBytes(rows, ListEncoding::Cp932, &leftOut)).items, MLDList{rows[6]});
  EXPECT_EQ(leftOut, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
  // The UTF-8 list holds every name that is text without a line break or comma.
  leftOut.clear();
  EXPECT_EQ(parseListFile(listFileBytes(rows, ListEncoding::Utf8, &leftOut)).items, (MLDList{rows[0], rows[1]}));
  EXPECT_EQ(leftOut, (std::vector<std::size_t>{2, 3, 4, 5, 6}));
  EXPECT_EQ(leftOutMessage(rows, {2}, ListEncoding::Cp932),
            std::string(kLeftOutHead) + "\r\n" + kLeftOutLineBreakReason + "/m/a\\rb.mld");
}

TEST(ListFile, Utf8ListsReadAsTextAndAppendingKeepsTheFilesEncoding) {
  // Titles become code page 932 for the files, as Windows writes them.
  EXPECT_EQ(parseListFile(raw("\xef\xbb\xbf\"/m/é.mld\",\"〜\"\r\n")).items,
            (MLDList{{"/m/é.mld", raw("\x81\x60")}}));
  TempDir dir;
  const MLDList rows{{"/m/é.mld", sjis("星")}};
  appendListFile(dir / "u.csv", rows, ListEncoding::Utf8);
  EXPECT_EQ(appendListFile(dir / "u.csv", rows).encoding, ListEncoding::Utf8);  // not mixed
  EXPECT_EQ(readListFile(dir / "u.csv").items, (MLDList{rows[0], rows[0]}));
}

// The existing list's encoding is judged on its head: a sparse 4 GiB list is not read whole.
TEST(ListFile, AppendingToAHugeListReadsOnlyItsHead) {
  TempDir dir;
  const auto file = dir.write("huge.csv", raw("\xef\xbb\xbf/m/a.mld,x\r\n"));
  std::filesystem::resize_file(file, 4ull << 30);
  EXPECT_EQ(appendListFile(file, {{"/m/b.mld", sjis("星")}}).encoding, ListEncoding::Utf8);
#ifndef __SANITIZE_ADDRESS__
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss, 512 * 1024) << "peak kB";
#endif
}

TEST(ListFile, ReaderAcceptsWhatPeopleAndSpreadsheetsWrite) {
  // Without quotes, a lone CR as line end, a space before a quote, no line end at the end.
  const auto loaded = parseListFile(raw("/m/a.mld,plain title\r"
                                        "\"/m/b.mld\", \"spaced\"\r\n\r\n\r\n\"/m/c.mld\",\"last\""));
  ASSERT_EQ(loaded.items.size(), 3u);
  EXPECT_EQ(loaded.items[0], (clsMLDListItem{"/m/a.mld", raw("plain title")}));
  EXPECT_EQ(loaded.items[1], (clsMLDListItem{"/m/b.mld", raw(" \"spaced\"")}));
  EXPECT_EQ(loaded.items[2], (clsMLDListItem{"/m/c.mld", raw("last")}));
  // As LibreOffice Calc saves a sheet on Linux: LF line ends, quotes only where needed, ""
  // for a quote, a line break inside a quoted cell.
  const auto calc = parseListFile(raw("/m/x,y.mld,T-comma\n"
                                      "/m/p.mld,\"say \"\"hi\"\", then\"\n"
                                      "\"/m/q.mld\",\"two\nlines\"\n"
                                      "/m/r.mld,\"\"\n"));
  EXPECT_EQ(calc.items, (MLDList{{"/m/p.mld", raw("say \"hi\", then")},
                                 {"/m/q.mld", raw("two\nlines")},
                                 {"/m/r.mld", {}}}));
  // The unquoted comma makes three fields: the line fails by its number, nothing is guessed.
  ASSERT_EQ(calc.badLines.size(), 1u);
  EXPECT_EQ(calc.badLines[0].line, 1u);
  // Line numbers count the breaks inside quoted cells; a line with only a path is no row either.
  const auto counted = parseListFile(raw("\"/m/q.mld\",\"a\r\nb\"\r\n/m/only-path.mld\r\n"));
  ASSERT_EQ(counted.badLines.size(), 1u);
  EXPECT_EQ(counted.badLines[0].line, 3u);
  EXPECT_EQ(badLineText("l.csv", counted.badLines[0]).rfind("l.csv:3: ", 0), 0u);
  // Lines earlier versions wrote around a quote still read back.
  EXPECT_EQ(parseListFile(raw("\"/m/a.mld\",\"say \"hi\" now\"\r\n")).items[0].MLDTitle, raw("say \"hi\" now"));
}

// Lists as LibreOffice Calc 7.4 saved them, kept as captured: calc-edited-* from the sheet
// calc-list.fods beside this file (soffice --convert-to csv, Japanese (Shift-JIS) and UTF-8),
// calc-resaved-* from lists tonekit-cli wrote, opened and saved again. Calc writes LF line
// ends, quotes only where a cell needs them, no empty last line, and UTF-8 without the mark.
TEST(ListFile, ListsSavedByLibreOfficeCalcReadAsTheSheetHeldThem) {
  const auto corpus = [](const char* name) {
    return parseListFile(TempDir::read(std::filesystem::path(TONEKIT_FUZZ_CORPUS_DIR) / "listfile" / name));
  };
  const std::string home = "/home/user/melodies/";
  const MLDList edited{{home + "かえる.mld", sjis("かえるの合唱（新）")},
                       {home + "x,y.mld", raw("T-comma")},
                       {home + "q.mld", sjis("題 \"引用\" 付き")},
                       {home + "nl.mld", sjis("一行目\n二行目")},
                       {home + "empty.mld", {}},
                       {home + "丸①.mld", sjis("ﾃｽﾄ①")}};
  const MLDList resaved{{home + "kaeru.mld", sjis("ｶｴﾙﾉｳﾀ かえるの合唱")}, {home + "kirakira.mld", sjis("きらきら星")}};
  for (const char* name : {"calc-edited-cp932.csv", "calc-edited-utf8.csv"}) {
    const auto loaded = corpus(name);
    EXPECT_EQ(loaded.items, edited) << name;
    EXPECT_TRUE(loaded.badLines.empty() && loaded.lossyTitles.empty()) << name;
  }
  for (const char* name : {"calc-resaved-cp932.csv", "calc-resaved-utf8.csv"}) EXPECT_EQ(corpus(name).items, resaved) << name;
}

TEST(ListFile, Utf8TitlesCodePage932LacksAreNamed) {
  const auto loaded = parseListFile(raw("\xef\xbb\xbf/m/a.mld,曲😀\n/m/b.mld,한국\n/m/c.mld,曲\n"));
  ASSERT_EQ(loaded.lossyTitles.size(), 2u);
  EXPECT_EQ(loaded.lossyTitles[1].row, 1u);
  EXPECT_EQ(loaded.lossyTitles[1].line, 2u);
  EXPECT_NE(lossyTitleText(loaded.lossyTitles[0]).find("😀"), std::string::npos);
  EXPECT_EQ(dropRows(loaded.items, loaded.lossyTitles), (MLDList{{"/m/c.mld", sjis("曲")}}));
}

TEST(ListFile, LineFeedsAloneEndALine) {
  const auto loaded = parseListFile(raw("\"/m/a.mld\",\"one\"\n\"/m/b.mld\",\"two\"\n"));
  EXPECT_EQ(loaded.items, (MLDList{{"/m/a.mld", raw("one")}, {"/m/b.mld", raw("two")}}));
}

TEST(ListFile, TellsAnEmptyFileFromOneWithoutRows) {
  EXPECT_FALSE(parseListFile({}).hadLines);
  EXPECT_FALSE(parseListFile(raw("\r\n\r\r\n")).hadLines);
  const auto noComma = parseListFile(raw("just a line\r\nanother\r\n"));
  EXPECT_TRUE(noComma.hadLines);
  EXPECT_TRUE(noComma.items.empty());
}

TEST(ListFile, ReadingAMissingFileFails) {
  TempDir dir;
  try {
    readListFile(dir / "none.csv");
    FAIL();
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), err::FileNotFound);
  }
}

TEST(OutputBuffer, AppendsTextAndOneLineEnd) {
  TempDir dir;
  const auto file = dir / "out.txt";
  clsOutputBuffer buffer;
  buffer.AddBuffer("星,");
  buffer.AddBytes(raw("\xff"));
  buffer.FileOutput(file);
  buffer.FileOutput(file);  // the buffer is kept
  EXPECT_EQ(TempDir::read(file), raw("\x90\xaf,\xff\r\n\x90\xaf,\xff\r\n"));
  buffer.Clear();
  EXPECT_TRUE(buffer.bytes().empty());
}

TEST(OutputBuffer, FailureCarriesItsNumberSourceAndText) {
  TempDir dir;
  clsOutputBuffer buffer;
  buffer.AddBuffer("x");
  for (const std::filesystem::path& target : {dir.path(), dir / "missing-folder" / "out.csv"}) {
    try {
      buffer.FileOutput(target);
      FAIL() << target;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), -2147221502L);
      EXPECT_EQ(f.source(), "OutputBuffer.FileOutput");
      // The standard text, then the path and the system's reason.
      EXPECT_EQ(f.description().rfind("出力失敗 ", 0), 0u);
      EXPECT_NE(f.description().find(target.string()), std::string::npos);
    }
  }
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_THROW(buffer.FileOutput("/dev/full"), Failure);
  }
}

TEST(StringUtil, CutSideDQuart) {
  const clsStringUtil util;
  auto cut = [&](std::string s) {
    util.CutSideDQuart(s);
    return s;
  };
  EXPECT_EQ(cut("\"abc\""), "abc");
  EXPECT_EQ(cut("\""), "");
  EXPECT_EQ(cut("\"\""), "");
  EXPECT_EQ(cut("abc\""), "abc");
  EXPECT_EQ(cut("\"abc"), "abc");
  EXPECT_EQ(cut("\"\"\"\""), "\"\"");
  EXPECT_EQ(cut(""), "");
}

TEST(StringUtil, ArrayToString) {
  const clsStringUtil util;
  std::string result = "kept";
  util.ArrayToString({}, 0, result, ",");
  EXPECT_EQ(result, "kept");
  util.ArrayToString({"a", "b"}, 2, result, ",");
  EXPECT_EQ(result, "kept");
  util.ArrayToString({"a", "b", "c"}, 1, result, ",");
  EXPECT_EQ(result, "b,c");
  util.ArrayToString({"a", "b", ""}, 0, result, "--");
  EXPECT_EQ(result, "a--b--");
}

}  // namespace
