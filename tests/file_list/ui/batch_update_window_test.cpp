// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Applying the list from the list window: confirmation, rewritten files, the error file, and the
// window coming back however the command ends.

#include <QLineEdit>
#include <QPushButton>

#include "ListWindowFixture.h"
#include "file_list/ListFile.h"

namespace tonekit::ui::testing {
namespace {

const QString kConfirm =
    QString::fromUtf8("現在のリストに表示されているファイルに対して項目の更新を行います。\r\nよろしいですか？");
const QString kDone = QString::fromUtf8("リスト項目からファイルへの更新が完了しました。");

class BatchWindowTest : public ListWindowTest {
 protected:
  // Two files with new titles in the list.
  fs::path listWithNewTitles() {
    const fs::path top = root / "songs";
    fs::create_directories(top / "more");
    fs::copy_file(samples / "kirakira.mld", top / "one.mld");
    fs::copy_file(samples / "kaeru.mld", top / "more" / "two.mld");
    makeListOf(top);
    EXPECT_EQ(window->MLDListItems.size(), 2u);
    window->MLDListItems[0].MLDTitle = cp932("星の歌");
    window->MLDListItems[1].MLDTitle = cp932("蛙の歌");
    return top;
  }
};

TEST_F(BatchWindowTest, CancelAtTheConfirmationChangesNothing) {
  const fs::path top = listWithNewTitles();
  const ByteString before = fileBytes(top / "one.mld");
  platform.answers.push_back(Answer::Cancel);
  window->cmdExecute_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, kConfirm);
  EXPECT_EQ(platform.messages[0].icon, Icon::Question);
  EXPECT_EQ(platform.messages[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(fileBytes(top / "one.mld"), before);
  EXPECT_FALSE(fs::exists(window->errorFilePath()));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->waitWindow(), nullptr);
}

TEST_F(BatchWindowTest, OkWritesTheTitlesIntoTheFiles) {
  const fs::path top = listWithNewTitles();
  bool askedBehindWaitWindow = false;
  platform.onProcessEvents = [&] { askedBehindWaitWindow = window->waitWindow() && !window->isVisible(); };
  window->cmdExecute_Click();
  EXPECT_TRUE(askedBehindWaitWindow);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, kConfirm);
  // The completion, then the counts.
  EXPECT_EQ(platform.messages[1].text, kDone + qs("\r\n\r\n書き込んだファイル: 2\r\n"
                                                   "書き込む必要のなかったファイル: 0\r\n失敗した行: 0"));
  EXPECT_EQ(titleOf(top / "one.mld"), cp932("星の歌"));
  EXPECT_EQ(titleOf(top / "more" / "two.mld"), cp932("蛙の歌"));
  EXPECT_FALSE(fs::exists(window->errorFilePath()));
  // The list keeps its rows as they were.
  EXPECT_EQ(window->MLDListItems[0].MLDTitle, cp932("星の歌"));
  EXPECT_TRUE(window->isVisible());
}

TEST_F(BatchWindowTest, DeletedFileGoesToTheErrorFileAndTheOthersAreApplied) {
  const fs::path top = listWithNewTitles();
  fs::remove(top / "one.mld");
  window->cmdExecute_Click();

  const fs::path errorFile = root / "ExecuteError.csv";
  EXPECT_EQ(window->errorFilePath(), errorFile);
  // One closing box: the error file, the completion, the counts and the failed file.
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[1].text.startsWith(qs("エラーがありました。エラー項目を、") +
                                                   QString::fromStdString(errorFile.string()) +
                                                   qs("へ出力しました。\r\n") + kDone));
  EXPECT_TRUE(platform.messages[1].text.contains(qs("失敗した行: 1")));
  EXPECT_TRUE(platform.messages[1].text.contains(QString::fromStdString((top / "one.mld").string()) + ": "));
  EXPECT_EQ(platform.messages[1].icon, Icon::Information);
  EXPECT_EQ(titleOf(top / "more" / "two.mld"), cp932("蛙の歌"));

  // The list's title, not the file's, in the list file format, the block closed by an empty line.
  ByteString expected = bytesOf("\"" + (top / "one.mld").string() + "\",\"");
  const ByteString title = cp932("星の歌");
  expected.insert(expected.end(), title.begin(), title.end());
  for (char c : std::string("\"\r\n\r\n")) expected.push_back(static_cast<std::uint8_t>(c));
  EXPECT_EQ(fileBytes(errorFile), expected);
}

TEST_F(BatchWindowTest, EmptyListSaysSoBehindTheWaitWindow) {
  int waits = 0;
  platform.onProcessEvents = [&] { waits += window->waitWindow() ? 1 : 0; };
  window->cmdExecute_Click();
  EXPECT_EQ(platform.messageTexts(), QStringList{qs("リストがありません。")});
  EXPECT_EQ(waits, 1);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(BatchWindowTest, ErrorFileThatCannotBeWrittenIsReportedAndTheWindowComesBack) {
  const fs::path top = listWithNewTitles();
  fs::remove(top / "one.mld");
  window->setErrorFolder(root / "missing" / "folder");
  window->cmdExecute_Click();

  // Confirmation, then the error report instead of the two closing messages.
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[1].text, qs("処理できませんでした。"));
  EXPECT_EQ(platform.messages[2].title, qs("エラー情報"));
  EXPECT_TRUE(platform.messages[2].text.contains(qs("OutputBuffer.FileOutput:出力失敗")));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->waitWindow(), nullptr);
  // The rows that could be applied were.
  EXPECT_EQ(titleOf(top / "more" / "two.mld"), cp932("蛙の歌"));
}

TEST_F(BatchWindowTest, DefaultErrorFolderIsTheWritableProgramFolder) {
  frmMLDList fresh;
  EXPECT_EQ(fresh.errorFolder(), writableProgramFolder());
  EXPECT_EQ(fresh.errorFilePath().filename(), "ExecuteError.csv");
}

TEST_F(BatchWindowTest, MakeEditSaveLoadAndApply) {
  const fs::path top = root / "road";
  fs::create_directories(top / "inner");
  fs::copy_file(samples / "kirakira.mld", top / "star.mld");
  fs::copy_file(samples / "kaeru.mld", top / "inner" / "frog.mld");
  fs::copy_file(samples / "kirakira.mld", top / "inner" / "gone.mld");
  makeListOf(top);
  ASSERT_EQ(window->MLDListItems.size(), 3u);

  // Edit the frog's title in the window.
  // Files of one folder come in the system's order.
  const int frog = window->MLDListItems[1].MLDPath == (top / "inner" / "frog.mld").string() ? 1 : 2;
  ASSERT_EQ(window->MLDListItems[static_cast<std::size_t>(frog)].MLDPath, (top / "inner" / "frog.mld").string());
  grid()->setCurrentIndex(grid()->model()->index(frog, 1));
  platform.dialogScripts.push_back([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("txtTitle")->setText(qs("かえるのうた"));
    dialog.findChild<QPushButton*>("cmdOk")->click();
  });
  window->mfgMLDList_DblClick();

  // Save, then load into a fresh window, as after editing in a spreadsheet.
  const fs::path csv = root / "road.csv";
  platform.saveAnswers.push_back(QString::fromStdString(csv.string()));
  window->cmdSaveList_Click();
  window = std::make_unique<frmMLDList>();
  window->setErrorFolder(root);
  window->show();
  platform.openAnswers.push_back(QString::fromStdString(csv.string()));
  window->cmdLoadList_Click();
  ASSERT_EQ(window->MLDListItems.size(), 3u);
  EXPECT_EQ(cell(frog, 1), qs("かえるのうた"));

  fs::remove(top / "inner" / "gone.mld");
  window->cmdExecute_Click();
  EXPECT_EQ(titleOf(top / "inner" / "frog.mld"), cp932("かえるのうた"));
  EXPECT_EQ(titleOf(top / "star.mld"), cp932("きらきら星"));
  ListFileContent failed = readListFile(root / "ExecuteError.csv");
  ASSERT_EQ(failed.items.size(), 1u);
  EXPECT_EQ(failed.items[0].MLDPath, (top / "inner" / "gone.mld").string());
  EXPECT_TRUE(platform.messages.back().text.contains(kDone));
}

// What the bytes and the quotes leave open is asked; lines that gave no row reach the error file.
TEST_F(BatchWindowTest, LoadingAsksWhatTheListLeavesOpenAndKeepsBadLinesForTheErrorFile) {
  const fs::path song = root / "a.mld";
  fs::copy_file(samples / "kirakira.mld", song);
  // ﾐｸﾐｸ in code page 932 is also UTF-8; """" is "" the old way and " as CSV.
  ByteString list = bytesOf("\"" + song.string() + "\",\"");
  const ByteString katakana = cp932("ﾐｸﾐｸ");
  list.insert(list.end(), katakana.begin(), katakana.end());
  for (char c : std::string("\"\n\"" + song.string() + "\",\"\"\"\"\n/x/bad.mld,\"x\"y\"\n")) list.push_back(static_cast<std::uint8_t>(c));
  const fs::path csv = root / "open.csv";
  writeBytes(csv, list);
  platform.openAnswers.push_back(QString::fromStdString(csv.string()));
  platform.answers = {Answer::No, Answer::Yes};  // code page 932, the old way
  window->cmdLoadList_Click();
  ASSERT_GE(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[0].buttons, Buttons::YesNo);
  EXPECT_TRUE(platform.messages[0].text.contains(qs("UTF-8")));
  EXPECT_EQ(platform.messages[1].buttons, Buttons::YesNo);
  EXPECT_TRUE(platform.messages[2].text.contains(qs("open.csv:3: ")));
  ASSERT_EQ(window->MLDListItems.size(), 2u);
  EXPECT_EQ(window->MLDListItems[0].MLDTitle, katakana);
  EXPECT_EQ(window->MLDListItems[1].MLDTitle, cp932("\"\""));

  platform.messages.clear();
  window->cmdExecute_Click();
  EXPECT_EQ(titleOf(song), cp932("\"\""));
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_TRUE(platform.messages[1].text.startsWith(qs("エラーがありました。")));
  EXPECT_EQ(fileBytes(root / "ExecuteError.csv"), bytesOf("/x/bad.mld,\"x\"y\"\r\n\r\n"));
}

}  // namespace
}  // namespace tonekit::ui::testing
