// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "AsUser.h"
#include "MldTestFiles.h"
#include "TempDir.h"
#include "file_list/ListFile.h"
#include "file_list/ListTexts.h"
#include "file_list/clsOutputBuffer.h"

using namespace tonekit;
using tonekit::test::sjis;
using tonekit::test::TempDir;

namespace {

ByteString raw(const std::string& s) { return ByteString(s.begin(), s.end()); }

ListReadOptions reading(QuoteReading quotes) {
  ListReadOptions options;
  options.quotes = quotes;
  return options;
}
ListReadOptions reading(ListEncoding encoding) {
  ListReadOptions options;
  options.encoding = encoding;
  return options;
}

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
  // Its quoted quotes also read as an earlier version's bare ones: the reading is chosen.
  EXPECT_EQ(readListFile(file).ambiguousLines, 2u);
  const ListFileContent loaded = readListFile(file, reading(QuoteReading::Csv));
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
  const ListFileContent loaded = parseListFile(listFileBytes(rows), reading(QuoteReading::Csv));
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

  // An empty list its user may only write to (an error file kept for the day's batches) is a new
  // one: a UTF-8 list starts with its mark.
  const auto writeOnly = dir.write("w.csv", {});
  std::filesystem::permissions(writeOnly, std::filesystem::perms::owner_write);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(dir.path().c_str(), test::kOtherUser, test::kOtherUser), 0);
    ASSERT_EQ(::chown(writeOnly.c_str(), test::kOtherUser, test::kOtherUser), 0);
  }
  const int appended = test::inChild(
      [&] {
        appendListFile(writeOnly, rows, ListEncoding::Utf8);
        return 0;
      },
      root);
  if (appended < 0) GTEST_SKIP() << "cannot become another user";
  EXPECT_EQ(appended, 0);
  std::filesystem::permissions(writeOnly, std::filesystem::perms::owner_read, std::filesystem::perm_options::add);
  const ByteString written = TempDir::read(writeOnly);
  EXPECT_EQ(ByteString(written.begin(), written.begin() + std::min<std::size_t>(3, written.size())), raw("\xef\xbb\xbf"));
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

// A list name that another user planted as a link in a shared sticky folder (/tmp) leads the
// append nowhere: it fails and what the link points at stays as it was.
TEST(ListFile, AppendingThroughALinkPlantedInAStickyFolderIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link away";
  TempDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms(01777));
  const auto target = dir.write("root.csv", raw("/m/a.mld,A\r\n"));
  const auto link = dir / "list.csv";
  std::filesystem::create_symlink(target, link);
  ASSERT_EQ(::lchown(link.c_str(), test::kOtherUser, test::kOtherUser), 0);
  try {
    appendListFile(link, {{"/m/b.mld", sjis("星")}});
    ADD_FAILURE() << "appended through the link";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), kOutputFailedNumber);
    EXPECT_NE(failure.description().find(link.string()), std::string::npos) << failure.description();
  }
  EXPECT_EQ(TempDir::read(target), raw("/m/a.mld,A\r\n"));
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
  EXPECT_EQ(calc.items, (MLDList{{"/m/p.mld", raw("say \"hi\", then")}, {"/m/r.mld", {}}}));
  // The unquoted comma makes three fields: the line fails by its number, nothing is guessed. A
  // title never takes a line end: the cell with a line break fails, its record kept raw.
  ASSERT_EQ(calc.badLines.size(), 2u);
  EXPECT_EQ(calc.badLines[0].line, 1u);
  EXPECT_EQ(calc.badLines[0].raw, raw("/m/x,y.mld,T-comma"));
  EXPECT_EQ(calc.badLines[1].line, 3u);
  EXPECT_EQ(calc.badLines[1].raw, raw("\"/m/q.mld\",\"two\nlines\""));
  // Line numbers count the breaks inside quoted cells; a line with only a path is no row either.
  const auto counted = parseListFile(raw("\"/m/q.mld\",\"a\r\nb\"\r\n/m/only-path.mld\r\n"));
  ASSERT_EQ(counted.badLines.size(), 2u);
  EXPECT_EQ(counted.badLines[1].line, 3u);
  EXPECT_EQ(badLineText("l.csv", counted.badLines[1]).rfind("l.csv:3: ", 0), 0u);
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
                       {home + "empty.mld", {}},
                       {home + "丸①.mld", sjis("ﾃｽﾄ①")}};
  const MLDList resaved{{home + "kaeru.mld", sjis("ｶｴﾙﾉｳﾀ かえるの合唱")}, {home + "kirakira.mld", sjis("きらきら星")}};
  for (const char* name : {"calc-edited-cp932.csv", "calc-edited-utf8.csv"}) {
    const auto loaded = corpus(name);
    EXPECT_EQ(loaded.items, edited) << name;
    // The cell with a line break ("一行目\n二行目") gives no row.
    ASSERT_EQ(loaded.badLines.size(), 1u) << name;
    EXPECT_TRUE(loaded.lossyTitles.empty()) << name;
  }
  for (const char* name : {"calc-resaved-cp932.csv", "calc-resaved-utf8.csv"}) EXPECT_EQ(corpus(name).items, resaved) << name;
}

// Lines as earlier versions wrote them: "PATH","TITLE" CR LF with quotes inside left bare, an
// empty line after each block.
TEST(ListFile, ListsOfEarlierVersionsReadAsTheyWereWritten) {
  // Only the old reading reads these; each gives its row, whatever follows it.
  const auto old = parseListFile(raw("\"/p/a.mld\",\"\"quoted\"\"\r\n\r\n"
                                     "\"/p/c.mld\",\"say \"hi\"\"\r\n"
                                     "\"/p/d.mld\",\"plain\"\r\n\r\n"));
  EXPECT_TRUE(old.badLines.empty());
  EXPECT_TRUE(old.readOld);
  EXPECT_EQ(old.items, (MLDList{{"/p/a.mld", raw("\"quoted\"")}, {"/p/c.mld", raw("say \"hi\"")}, {"/p/d.mld", raw("plain")}}));
  // Lines both readings read, differently: alone in a list they fail, naming both readings.
  const std::string twoWays = "\"/p/a.mld\",\"" + std::string(reinterpret_cast<const char*>(sjis("言った").data()), 6) +
                              "\"\"" + std::string(reinterpret_cast<const char*>(sjis("です").data()), 4) +
                              "\"\r\n\"/p/a.mld\",\"\"\"\"\r\n\"/q/x\"\"y.mld\",\"T\"\r\n/p/e.mld,fine\r\n";
  const auto open = parseListFile(raw(twoWays));
  EXPECT_EQ(open.items, (MLDList{{"/p/e.mld", raw("fine")}}));
  ASSERT_EQ(open.badLines.size(), 3u);
  EXPECT_EQ(open.ambiguousLines, 3u);
  EXPECT_EQ(open.badLines[2].line, 3u);
  EXPECT_EQ(open.badLines[2].raw, raw("\"/q/x\"\"y.mld\",\"T\""));
  EXPECT_NE(open.badLines[2].reason.find("「/q/x\"y.mld」「T」"), std::string::npos) << open.badLines[2].reason;
  EXPECT_NE(open.badLines[2].reason.find("「/q/x\"\"y.mld」「T」"), std::string::npos);
  const MLDList asOld{{"/p/a.mld", sjis("言った\"\"です")}, {"/p/a.mld", raw("\"\"")}, {"/q/x\"\"y.mld", raw("T")}, {"/p/e.mld", raw("fine")}};
  const MLDList asCsv{{"/p/a.mld", sjis("言った\"です")}, {"/p/a.mld", raw("\"")}, {"/q/x\"y.mld", raw("T")}, {"/p/e.mld", raw("fine")}};
  EXPECT_EQ(parseListFile(raw(twoWays), reading(QuoteReading::Old)).items, asOld);
  EXPECT_EQ(parseListFile(raw(twoWays), reading(QuoteReading::Csv)).items, asCsv);
  // One line only the old reading reads: the list was written so, and is read so throughout.
  EXPECT_EQ(parseListFile(raw(twoWays + "\"/p/f.mld\",\"say \"hi\"\"\r\n")).items.size(), 5u);
  EXPECT_EQ(parseListFile(raw(twoWays + "\"/p/f.mld\",\"say \"hi\"\"\r\n")).items[2], asOld[2]);
}

TEST(ListFile, MalformedRecordsFailAloneAndEmptiedRowsAreSkipped) {
  // A quote left open swallows nothing after its line; a spreadsheet's emptied row is ",".
  const auto loaded = parseListFile(raw("/p/a.mld,\"open\r\n,\r\n,,\n\"/p/b.mld\",\"B\"\r\n/p/c.mld,\"x\"y\"\r\n"));
  EXPECT_EQ(loaded.items, (MLDList{{"/p/b.mld", raw("B")}}));
  ASSERT_EQ(loaded.badLines.size(), 2u);
  EXPECT_EQ(loaded.badLines[0].line, 1u);
  EXPECT_EQ(loaded.badLines[0].raw, raw("/p/a.mld,\"open"));
  EXPECT_EQ(loaded.badLines[1].line, 5u);
  EXPECT_EQ(loaded.badLines[1].raw, raw("/p/c.mld,\"x\"y\""));
  EXPECT_FALSE(parseListFile(raw(",\r\n\r\n")).hadLines);
}

// The encoding comes from the bytes, never from the line ends.
TEST(ListFile, EncodingIsJudgedFromTheBytes) {
  // LibreOffice's "CSV UTF-8" (LF, no mark) with a line the list window appended in CR LF, and
  // UTF-8 with CR LF as Notepad, VS Code and Python's csv write it.
  for (const char* bytes : {"/p/a.mld,カエル\n\"/p/b.mld\",\"きらきら星\"\r\n", "\"/p/a.mld\",\"カエル\"\r\n\"/p/b.mld\",\"きらきら星\"\r\n"}) {
    const auto loaded = parseListFile(raw(bytes));
    EXPECT_EQ(loaded.encoding, ListEncoding::Utf8) << bytes;
    EXPECT_EQ(loaded.items, (MLDList{{"/p/a.mld", sjis("カエル")}, {"/p/b.mld", sjis("きらきら星")}})) << bytes;
  }
  // Code page 932 that no UTF-8 reads: code page 932, LF or not.
  EXPECT_EQ(parseListFile(sjis("\"/p/a.mld\",\"かえるの合唱\"\n")).items, (MLDList{{"/p/a.mld", sjis("かえるの合唱")}}));
  // Half-width katakana that are also UTF-8 (ﾐｸﾐｸ is "ии"): nothing is guessed.
  for (const char* title : {"ﾐｸﾐｸ", "ﾄｷﾒｷ"}) {
    ByteString list = raw("\"/p/a.mld\",\"");
    const ByteString t = sjis(title);
    list.insert(list.end(), t.begin(), t.end());
    list.push_back('"');
    list.push_back('\n');
    const auto open = parseListFile(list);
    EXPECT_TRUE(open.encodingAmbiguous) << title;
    EXPECT_TRUE(open.items.empty());
    EXPECT_EQ(parseListFile(list, reading(ListEncoding::Cp932)).items, (MLDList{{"/p/a.mld", t}})) << title;
  }
  EXPECT_FALSE(parseListFile(raw("/p/a.mld,ascii\n")).encodingAmbiguous);
}

TEST(ListFile, AppendingKeepsTheFilesEncodingAndLineEnds) {
  TempDir dir;
  // As Calc saves it: UTF-8, no mark, LF, the last line without its end.
  const auto file = dir.write("calc.csv", raw("/p/a.mld,カエル\n/p/b.mld,星"));
  EXPECT_EQ(appendListFile(file, {{"/p/c.mld", sjis("きらきら星")}}).encoding, ListEncoding::Utf8);
  EXPECT_EQ(TempDir::read(file), raw("/p/a.mld,カエル\n/p/b.mld,星\n\"/p/c.mld\",\"きらきら星\"\n\n"));
  EXPECT_EQ(readListFile(file).items.size(), 3u);
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

}  // namespace
