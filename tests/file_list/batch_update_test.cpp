// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "MldBuilder.h"
#include "MldTestFiles.h"
#include "TempDir.h"
#include "base/SafeFile.h"
#include <sys/stat.h>
#include "file_list/BatchUpdate.h"
#include "file_list/ListFile.h"
#include "file_list/ListMaker.h"

namespace fs = std::filesystem;
using namespace tonekit;
using tonekit::test::sjis;
using tonekit::test::TempDir;
using tonekit::test::titleOf;
using tonekit::test::writeMld;

namespace {

std::string str(const fs::path& p) { return p.string(); }

TEST(ListMaking, ReadsEveryTitleAndNamesWhatItCannotRead) {
  TempDir dir;
  writeMld(dir / "a.mld", sjis("星"));
  writeMld(dir / "sub/b.mld", sjis("蛙"), true, "kaeru.mld");
  dir.write("sub/broken.mld", ByteString{'m', 'e', 'l', 'o'});
  writeMld(dir / "sub/untitled.mld", {}, false);
  dir.write("other.txt", ByteString{'x'});
  // Listed with an empty title, a file that could not be read would have it erased by the list.
  ASSERT_EQ(::mkfifo((dir / "sub/pipe.mld").c_str(), 0600), 0);

  CollectingMessageSink messages;
  std::vector<Failure> unreadable;
  MLDList rows = makeMLDList(str(dir.path()), &messages, nullptr, &unreadable);
  ASSERT_EQ(unreadable.size(), 1u);
  EXPECT_NE(unreadableText(unreadable[0]).find(str(dir / "sub/pipe.mld")), std::string::npos);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (clsMLDListItem{str(dir / "a.mld"), sjis("星")}));
  std::sort(rows.begin() + 1, rows.end(), [](const auto& a, const auto& b) { return a.MLDPath < b.MLDPath; });
  EXPECT_EQ(rows[1], (clsMLDListItem{str(dir / "sub/b.mld"), sjis("蛙")}));
  EXPECT_EQ(rows[2], (clsMLDListItem{str(dir / "sub/broken.mld"), {}}));
  EXPECT_EQ(rows[3], (clsMLDListItem{str(dir / "sub/untitled.mld"), {}}));
  EXPECT_TRUE(messages.entries.empty());
}

TEST(ListMaking, ReaderMessagesReachTheSink) {
  TempDir dir;
  ByteString bytes = TempDir::read(writeMld(dir / "a.mld", sjis("星")));
  bytes[12] = 5;  // the header claims more tracks than there are
  dir.write("a.mld", bytes);
  CollectingMessageSink messages;
  std::optional<Failure> unreadable;
  const clsMLDListItem row = readListItem(str(dir / "a.mld"), &messages, unreadable).value();
  EXPECT_EQ(row.MLDTitle, sjis("星"));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text.rfind(kTrackCountMismatchMessage, 0), 0u);
  EXPECT_TRUE(makeMLDList(str(dir / "nothing-here")).empty());
}

class BatchUpdate : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path errors = dir / "ExecuteError.csv";
};

TEST_F(BatchUpdate, WritesOnlyRowsWhoseTitleDiffers) {
  const auto a = writeMld(dir / "a.mld", sjis("同じ"));
  const auto b = writeMld(dir / "b.mld", sjis("古い"), true, "kaeru.mld");
  const ByteString aBefore = TempDir::read(a);
  const ByteString bBefore = TempDir::read(b);
  const auto aTime = fs::last_write_time(a);
  const MLDList rows{{str(a), sjis("同じ")}, {str(b), sjis("新しい")}};

  std::vector<RowOutcome> outcomes;
  BatchUpdateJob job(rows, errors);
  const BatchSummary summary = job.run([&](const RowResult& r) { outcomes.push_back(r.outcome); });
  EXPECT_EQ(outcomes, (std::vector<RowOutcome>{RowOutcome::Unchanged, RowOutcome::Written}));
  EXPECT_EQ(summary.written, 1u);
  EXPECT_EQ(summary.unchanged, 1u);
  EXPECT_EQ(summary.failed, 0u);
  EXPECT_FALSE(summary.errorFileWritten);
  EXPECT_FALSE(fs::exists(errors));
  EXPECT_EQ(TempDir::read(a), aBefore);
  EXPECT_EQ(fs::last_write_time(a), aTime);

  // Only the title changed: the other chunks and the tracks are as they were.
  dir.write("b-before.mld", bBefore);
  clsMLD before, after;
  before.MLDFile = str(dir / "b-before.mld");
  after.MLDFile = str(b);
  before.ParseMLD();
  after.ParseMLD();
  EXPECT_EQ(after.MLDTitl, sjis("新しい"));
  for (auto tag : clsMLD::kWriterOrder) {
    if (tag == "titl") continue;
    EXPECT_EQ(after.value(tag), before.value(tag)) << tag;
    EXPECT_EQ(after.enabled(tag), before.enabled(tag)) << tag;
  }
  EXPECT_EQ(after.MLDTracData->items(), before.MLDTracData->items());
}

TEST_F(BatchUpdate, LaterFormatFilesAreListedAndRetitledWithEveryOtherByteKept) {
  const ByteString extra = mldtest::chunk("zqxw", {0xFF, 0x00});
  const auto later = dir.write("later.mld", mldtest::laterMld(4, 3, sjis("古い題"), {extra}));
  const MLDList listed = makeMLDList(str(dir.path()));
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].MLDTitle, sjis("古い題"));

  BatchUpdateJob job({{str(later), sjis("新しい題名")}}, errors);
  EXPECT_EQ(job.run([](const RowResult&) {}).written, 1u);
  EXPECT_EQ(TempDir::read(later), mldtest::laterMld(4, 3, sjis("新しい題名"), {extra}));
}

TEST_F(BatchUpdate, FailedRowsGoToTheErrorFileWithTheListsTitleAndTheRestIsApplied) {
  const auto gone = writeMld(dir / "gone.mld", sjis("元"));
  const auto kept = writeMld(dir / "kept.mld", sjis("元"));
  const auto hidden = writeMld(dir / ".hidden.mld", sjis("元"));
  const auto untitled = writeMld(dir / "untitled.mld", {}, false);
  dir.write("broken.mld", ByteString{'m', 'e', 'l', 'o', 0, 0});
  fs::remove(gone);
  const MLDList rows{{str(gone), sjis("消えた")},
                     {"", sjis("空")},
                     {str(kept), sjis("新")},
                     {str(hidden), sjis("隠れ")},
                     {str(dir.path()), sjis("フォルダ")},
                     {str(dir / "broken.mld"), sjis("壊れ")},
                     {str(untitled), sjis("題")},
                     {str(untitled), {}}};
  BatchUpdateJob job(rows, errors);
  std::vector<std::size_t> failedRows;
  const BatchSummary summary = job.run([&](const RowResult& r) {
    if (r.outcome == RowOutcome::Failed) {
      failedRows.push_back(r.index);
      EXPECT_TRUE(r.failure.has_value());
    }
  });
  EXPECT_EQ(failedRows, (std::vector<std::size_t>{0, 1, 3, 4, 5, 6}));
  EXPECT_EQ(summary.written, 1u);
  EXPECT_EQ(summary.unchanged, 1u);
  EXPECT_EQ(summary.failed, 6u);
  EXPECT_TRUE(summary.errorFileWritten);
  EXPECT_EQ(titleOf(kept), sjis("新"));
  EXPECT_EQ(titleOf(hidden), sjis("元"));

  MLDList failed;
  for (auto i : failedRows) failed.push_back(rows[i]);
  EXPECT_EQ(TempDir::read(errors), listFileBytes(failed));
  EXPECT_EQ(job.errorFileMessage(), "エラーがありました。エラー項目を、" + str(errors) + "へ出力しました。");
  EXPECT_EQ(job.finish().failed, 6u);  // finishing again writes nothing more
  EXPECT_EQ(TempDir::read(errors), listFileBytes(failed));
}

TEST_F(BatchUpdate, ErrorFileCollectsEveryRunAndReloadsAsAList) {
  const auto later = dir / "later.mld";
  const MLDList first{{str(later), sjis("一回目")}};
  const MLDList second{{str(dir / "never.mld"), sjis("二回目")}};
  BatchUpdateJob(first, errors).run();
  BatchUpdateJob(second, errors).run();
  ByteString expected = listFileBytes(first);
  const ByteString tail = listFileBytes(second);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(TempDir::read(errors), expected);

  // The file appears afterwards: retrying the error list applies it.
  writeMld(later, sjis("旧"));
  const ListFileContent retry = readListFile(errors);
  ASSERT_EQ(retry.items.size(), 2u);
  const BatchSummary summary = BatchUpdateJob(retry.items, dir / "again.csv").run();
  EXPECT_EQ(summary.written, 1u);
  EXPECT_EQ(summary.failed, 1u);
  EXPECT_EQ(titleOf(later), sjis("一回目"));
}

TEST_F(BatchUpdate, SameFileTwiceEndsWithTheLaterTitle) {
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const MLDList rows{{str(a), sjis("先")}, {str(a), sjis("後")}};
  const BatchSummary summary = BatchUpdateJob(rows, errors).run();
  EXPECT_EQ(summary.written, 2u);
  EXPECT_EQ(titleOf(a), sjis("後"));
}

TEST_F(BatchUpdate, JobRunsAfterTheListItWasMadeFromIsGone) {
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  auto rows = std::make_unique<MLDList>(MLDList{{str(a), sjis("新")}});
  BatchUpdateJob job(*rows, errors);
  rows.reset();
  EXPECT_EQ(job.run().written, 1u);
  EXPECT_EQ(titleOf(a), sjis("新"));
}

TEST_F(BatchUpdate, UndecodableTitleIsWrittenAsItsBytes) {
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const ByteString title{0x81, 0x2c, 0xff, '"'};
  const auto listFile = dir / "list.csv";
  appendListFile(listFile, {{str(a), title}});
  ListReadOptions csv;  // the quote in it also reads as an earlier version's bare one
  csv.quotes = QuoteReading::Csv;
  const BatchSummary summary = BatchUpdateJob(readListFile(listFile, csv).items, errors).run();
  EXPECT_EQ(summary.written, 1u);
  EXPECT_EQ(titleOf(a), title);
}

TEST_F(BatchUpdate, ErrorFileThatCannotBeWrittenIsReported) {
  const MLDList rows{{str(dir / "missing.mld"), sjis("x")}};
  BatchUpdateJob job(rows, dir.path());  // a folder cannot be appended to
  const BatchSummary summary = job.run();
  EXPECT_EQ(summary.failed, 1u);
  EXPECT_FALSE(summary.errorFileWritten);
  ASSERT_TRUE(summary.errorFileFailure.has_value());
  EXPECT_EQ(summary.errorFileFailure->description().rfind("出力失敗 ", 0), 0u);
}

TEST_F(BatchUpdate, WritableFileInAReadOnlyFolderIsWrittenInPlace) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const auto a = writeMld(dir / "ro/a.mld", sjis("元"));
  fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
  const BatchSummary summary = BatchUpdateJob({{str(a), sjis("新")}}, errors).run();
  fs::permissions(dir / "ro", fs::perms::owner_all);
  EXPECT_EQ(summary.written, 1u);
  EXPECT_EQ(titleOf(a), sjis("新"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "ro"), fs::directory_iterator()), 1);
}

TEST_F(BatchUpdate, HostileRowsFailClearlyAndTheRestIsApplied) {
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  ASSERT_EQ(::mkfifo((dir / "fifo.mld").c_str(), 0600), 0);
  fs::resize_file(dir.write("big.mld", TempDir::read(a)), kLargestReadableFile + 1);
  const MLDList rows{{str(dir / "fifo.mld"), sjis("x")}, {str(dir / "big.mld"), sjis("x")}, {str(a), sjis("新")}};
  std::vector<long> numbers;
  // The error file is a FIFO too: refused, not waited on.
  const BatchSummary summary = BatchUpdateJob(rows, dir / "fifo.mld").run([&](const RowResult& r) {
    numbers.push_back(r.failure ? r.failure->number() : 0);
  });
  EXPECT_EQ(numbers, (std::vector<long>{err::PathFileAccess, err::PathFileAccess, 0}));
  EXPECT_EQ(titleOf(a), sjis("新"));
  EXPECT_TRUE(summary.errorFileFailure.has_value());
}

TEST_F(BatchUpdate, TitleTheFileCannotHoldFailsTheRowAndLeavesTheFile) {
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const ByteString before = TempDir::read(a);
  const MLDList rows{{str(a), ByteString(70000, 'x')}};
  BatchUpdateJob job(rows, errors);
  const RowResult r = job.step();
  EXPECT_EQ(r.outcome, RowOutcome::Failed);
  ASSERT_TRUE(r.failure.has_value());
  EXPECT_EQ(r.failure->number(), err::Overflow);
  EXPECT_EQ(TempDir::read(a), before);
  EXPECT_TRUE(job.finish().errorFileWritten);
}

TEST_F(BatchUpdate, StepByStep) {
  const auto a = writeMld(dir / "a.mld", sjis("元"));
  const MLDList rows{{str(a), sjis("新")}};
  BatchUpdateJob job(rows, errors);
  EXPECT_EQ(job.size(), 1u);
  EXPECT_FALSE(job.done());
  const RowResult r = job.step();
  EXPECT_EQ(r.index, 0u);
  EXPECT_EQ(r.outcome, RowOutcome::Written);
  EXPECT_TRUE(job.done());
  EXPECT_EQ(job.position(), 1u);
  EXPECT_THROW(job.step(), Failure);
  EXPECT_EQ(job.finish().written, 1u);
}

TEST(ErrorFileTest, LiesInTheProgramOrDataFolder) {
  EXPECT_EQ(defaultErrorFilePath().filename(), "ExecuteError.csv");
}

}  // namespace
