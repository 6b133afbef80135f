// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The list window's everyday habits: the question before edited rows go, a cancelled batch
// update, and a grown grid sorted by a column.

#include <QHeaderView>
#include <QPushButton>

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

// Answers like the scripted platform, and presses キャンセル in the wait window while the reader's
// message about the track count is shown.
class CancelAtMessage : public ScriptedPlatform {
 public:
  explicit CancelAtMessage(frmMLDList& list) : list_(list) {}
  Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons, const QString& title) override {
    if (text.startsWith(QString::fromUtf8(kTrackCountMismatchMessage)) && list_.waitWindow())
      list_.waitWindow()->findChild<QPushButton*>("cmdCancel")->click();
    return ScriptedPlatform::message(parent, text, icon, buttons, title);
  }

 private:
  frmMLDList& list_;
};

TEST_F(Habits, CancelledUpdateKeepsTheRowsDoneAndLeavesTheRest) {
  const fs::path top = listOf(5, 2);
  for (auto& item : window->MLDListItems) item.MLDTitle = cp932("new");
  CancelAtMessage cancelling(*window);
  window->cmdExecute_Click();

  // f2 itself fails (its header disagrees with its tracks) and goes to the error file.
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(titleOf(top / ("f" + std::to_string(i) + ".mld")), cp932(i < 2 ? "new" : "old")) << i;
  EXPECT_TRUE(fs::exists(window->errorFilePath()));
  ASSERT_FALSE(cancelling.messages.empty());
  EXPECT_EQ(cancelling.messages.back().text,
            qs("リスト項目からファイルへの更新を中止しました。\r\n書き込んだファイル: 2\r\n"
               "書き込む必要のなかったファイル: 0\r\n失敗した行: 1\r\n更新せずに残した行: 2"));
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

}  // namespace
}  // namespace tonekit::ui::testing
