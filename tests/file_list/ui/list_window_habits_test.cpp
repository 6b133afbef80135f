// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The list window's everyday habits: the question before edited rows go, a cancelled batch
// update, a grown grid sorted by a column, the keys that edit a row, the row count, the place
// and state it comes back in, and where its dialogs start.

#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include "../MldTestFiles.h"
#include "ListWindowFixture.h"
#include "MldBuilder.h"
#include "file_list/ListFile.h"
#include "file_list/ui/MLDListModel.h"
#include "file_list/ui/frmWait.h"

namespace tonekit::ui::testing {
namespace {

const QString kQuestion = QString::fromUtf8("リストの変更は保存されていません。保存しますか？");

class Habits : public ListWindowTest {
 protected:
  // Files f0 … f(n-1) titled "old" in one folder, listed in name order.
  fs::path listOf(int n, int mismatched = -1) {
    const fs::path top = root / "songs";
    for (int i = 0; i < n; ++i) {
      const fs::path path = top / ("f" + std::to_string(i) + ".mld");
      if (i == mismatched) {
        fs::create_directories(top);
        // The header counts two tracks, the file holds one: the reader says so.
        writeBytes(path, mldtest::mld({mldtest::chunk("titl", cp932("old"))}, {mldtest::track(mldtest::kEndOfTrack)},
                                      1, 1, 2));
      } else {
        test::writeMld(path, cp932("old"));
      }
    }
    makeListOf(top);
    window->sortRows(MLDListModel::kPathColumn, Qt::AscendingOrder);
    return top;
  }
  int questions() const {
    int count = 0;
    for (const auto& m : platform.messages) count += m.text == kQuestion;
    return count;
  }
};

TEST_F(Habits, CancelledUpdateKeepsTheRowsDoneAndLeavesTheRest) {
  const fs::path top = listOf(5, 2);
  for (auto& item : window->MLDListItems) item.MLDTitle = cp932("new");
  // Stopped after the third row, as a キャンセル then would.
  window->setRowGate([](std::size_t done) { return done < 3; });
  window->cmdExecute_Click();

  // f2 itself fails (its header disagrees with its tracks) and goes to the error file.
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(titleOf(top / ("f" + std::to_string(i) + ".mld")), cp932(i < 2 ? "new" : "old")) << i;
  EXPECT_TRUE(fs::exists(window->errorFilePath()));
  ASSERT_FALSE(platform.messages.empty());
  const QString closing = platform.messages.back().text;
  EXPECT_TRUE(closing.contains(qs("リスト項目からファイルへの更新を中止しました。\r\n書き込んだファイル: 2\r\n"
                                  "書き込む必要のなかったファイル: 0\r\n失敗した行: 1\r\n更新せずに残した行: 2")))
      << closing.toStdString();
  // The failed file by name, with what the reader said about it.
  EXPECT_TRUE(closing.contains(QString::fromStdString((top / "f2.mld").string()) + ": "));
  EXPECT_TRUE(closing.contains(QString::fromUtf8(kTrackCountMismatchMessage)));
  EXPECT_TRUE(window->isModified());
}

TEST_F(Habits, ClosingAsksWhileRowsAreUnsaved) {
  listOf(2);
  platform.answers.push_back(Answer::Cancel);
  window->close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(questions(), 1);

  // 保存 saves the list; a cancelled save keeps the window.
  const fs::path list = root / "list.csv";
  platform.answers = {Answer::Save, Answer::Save};
  platform.saveAnswers = {std::nullopt, QString::fromStdString(list.string())};
  window->close();
  EXPECT_TRUE(window->isVisible());
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(fs::exists(list));

}

TEST_F(Habits, GrownGridSortsByAColumnAndSavesInTheOrderShown) {
  const fs::path top = listOf(3);
  const char* titles[] = {"ｂ", "ｃ", "ａ"};
  for (int i = 0; i < 3; ++i) window->MLDListItems[static_cast<std::size_t>(i)].MLDTitle = cp932(titles[i]);

  const int pathWidth = grid()->columnWidth(MLDListModel::kPathColumn);
  const int gridWidth = grid()->width();
  window->resize(window->width() * 2, window->height() * 2);
  EXPECT_EQ(grid()->width(), gridWidth + window->width() / 2);
  EXPECT_GT(grid()->columnWidth(MLDListModel::kPathColumn), pathWidth * 2 - 2);
  EXPECT_EQ(grid()->model()->index(0, 0).data(Qt::ToolTipRole).toString(), cell(0, 0));

  grid()->horizontalHeader()->sectionClicked(MLDListModel::kTitleColumn);
  EXPECT_EQ(cell(0, 1), qs("ａ"));
  EXPECT_EQ(cell(2, 1), qs("ｃ"));
  grid()->horizontalHeader()->sectionClicked(MLDListModel::kTitleColumn);
  EXPECT_EQ(cell(0, 1), qs("ｃ"));

  const fs::path list = root / "sorted.csv";
  platform.saveAnswers.push_back(QString::fromStdString(list.string()));
  window->cmdSaveList_Click();
  const ListFileContent saved = readListFile(list);
  ASSERT_EQ(saved.items.size(), 3u);
  EXPECT_EQ(saved.items[0].MLDPath, (top / "f1.mld").string());
  EXPECT_EQ(saved.items[2].MLDPath, (top / "f2.mld").string());
}

// Numbers in names sort by their value; the title counts the rows.
TEST_F(Habits, NamesSortAsPeopleCountAndTheTitleCountsTheRows) {
  const fs::path top = root / "numbered";
  for (const char* name : {"k10.mld", "k2.mld", "k1.mld", "k02b.mld"}) test::writeMld(top / name, cp932("t"));
  makeListOf(top);
  EXPECT_EQ(window->windowTitle(), qs("MLD List - 4 件"));
  window->sortRows(MLDListModel::kPathColumn, Qt::AscendingOrder);
  QStringList names;
  for (int row = 0; row < 4; ++row) names << QString::fromStdString(fs::path(cell(row, 0).toStdString()).filename().string());
  EXPECT_EQ(names, (QStringList{"k1.mld", "k2.mld", "k02b.mld", "k10.mld"}));
}

// Enter and F2 edit the current row as a double click does; after a long command the window
// comes back maximised if it was.
TEST_F(Habits, EnterAndF2EditTheRowAndTheWindowKeepsItsState) {
  listOf(2);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  grid()->setFocus();
  grid()->setCurrentIndex(grid()->model()->index(1, 0));
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) QTest::keyClick(grid(), key);
  EXPECT_EQ(platform.dialogsShown, (std::vector<QString>{"frmListEdit", "frmListEdit"}));

  window->showMaximized();
  ASSERT_TRUE(window->isMaximized());
  makeListOf(root / "songs");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isMaximized());
}

// The folder and list dialogs start beside the main window's document until a list file is in
// hand, then beside that.
TEST_F(Habits, DialogsStartBesideTheDocumentThenTheList) {
  const fs::path songs = root / "melodies";
  fs::create_directories(songs / "lists");
  window->documentPath = QString::fromStdString((songs / "song.mld").string());
  window->cmdMakeList_Click();
  window->cmdLoadList_Click();
  ASSERT_EQ(platform.folderStarts.size(), 1u);
  EXPECT_EQ(platform.folderStarts[0], QString::fromStdString(songs.string()));
  ASSERT_EQ(platform.openCalls.size(), 1u);
  EXPECT_EQ(platform.openCalls[0].startFolder, QString::fromStdString(songs.string()));

  listOf(1);
  platform.saveAnswers.push_back(QString::fromStdString((songs / "lists" / "l.csv").string()));
  window->cmdSaveList_Click();
  window->cmdLoadList_Click();
  EXPECT_EQ(platform.openCalls.back().startFolder, QString::fromStdString((songs / "lists").string()));
}

// Saving over a list file does what the answer says: 置き換え leaves the list once, キャンセル
// leaves the file alone; a name typed without an extension gets ".csv".
TEST_F(Habits, SavingOverAListFileReplacesOrKeepsItAsAnswered) {
  listOf(2);
  const fs::path csv = root / "titles.csv";
  const QString typed = QString::fromStdString((root / "titles").string());
  platform.saveAnswers.push_back(typed);
  window->cmdSaveList_Click();  // a new file: nothing to ask
  for (const Answer answer : {Answer::Replace, Answer::Cancel}) {
    platform.saveAnswers.push_back(typed);
    platform.answers.push_back(answer);
    window->cmdSaveList_Click();
  }
  EXPECT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(readListFile(csv).items, window->MLDListItems);
  EXPECT_FALSE(fs::exists(root / "titles"));
}

}  // namespace
}  // namespace tonekit::ui::testing
