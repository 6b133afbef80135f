// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// A folder of good and broken melodies: the search and the update go through every file and end
// with one box that counts the results and names each broken file with its reason.

#include "ListWindowFixture.h"
#include "MldBuilder.h"
#include "file_list/ListFile.h"

namespace tonekit::ui::testing {
namespace {

using namespace tonekit::mldtest;

class BatchResults : public ListWindowTest {
 protected:
  // Two good files and two whose information part holds a tag the reader stops at.
  fs::path mixedFolder() {
    const fs::path top = root / "mixed";
    fs::create_directories(top);
    fs::copy_file(samples / "kirakira.mld", top / "good1.mld");
    fs::copy_file(samples / "kaeru.mld", top / "good2.mld");
    const ByteString broken = mld({chunk("vers", bytesOf("0100")), chunk("TITL", bytesOf("x"))}, {track(kEndOfTrack)});
    writeBytes(top / "bad1.mld", broken);
    writeBytes(top / "bad2.mld", broken);
    return top;
  }
  static QString path(const fs::path& p) { return QString::fromStdString(p.string()); }
};

TEST_F(BatchResults, SearchEndsWithOneBoxNamingEachBrokenFile) {
  const fs::path top = mixedFolder();
  makeListOf(top);
  EXPECT_EQ(window->MLDListItems.size(), 4u);
  ASSERT_EQ(platform.messages.size(), 1u) << platform.messageTexts().join("\n").toStdString();
  const QString shown = platform.messages[0].text;
  EXPECT_TRUE(shown.contains(qs("リストに入れたファイル: 4"))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(qs("読み込めなかったファイル: 0")));
  EXPECT_TRUE(shown.contains(path(top / "bad1.mld") + qs(": 処理できないファイルフォーマットのようです。")));
  EXPECT_TRUE(shown.contains(path(top / "bad2.mld") + qs(": 処理できないファイルフォーマットのようです。")));
  EXPECT_FALSE(shown.contains(path(top / "good1.mld")));
  EXPECT_TRUE(window->isVisible());
}

TEST_F(BatchResults, UpdateEndsWithTheCompletionTheCountsAndEachFailedFile) {
  const fs::path top = mixedFolder();
  makeListOf(top);
  ASSERT_EQ(window->MLDListItems.size(), 4u);
  for (clsMLDListItem& row : window->MLDListItems) {
    const std::string name = fs::path(row.MLDPath).filename().string();
    if (name == "good1.mld") row.MLDTitle = cp932("新しい歌");
    if (name == "bad1.mld" || name == "bad2.mld") row.MLDTitle = cp932("壊れた歌");
  }
  platform.messages.clear();
  window->cmdExecute_Click();

  // The confirmation, then one closing box.
  ASSERT_EQ(platform.messages.size(), 2u) << platform.messageTexts().join("\n").toStdString();
  const QString shown = platform.messages[1].text;
  const fs::path errorFile = root / "ExecuteError.csv";
  EXPECT_TRUE(shown.startsWith(qs("エラーがありました。エラー項目を、") + path(errorFile) + qs("へ出力しました。")))
      << shown.toStdString();
  EXPECT_TRUE(shown.contains(qs("リスト項目からファイルへの更新が完了しました。\r\n\r\n書き込んだファイル: 1\r\n"
                                "書き込む必要のなかったファイル: 1\r\n失敗した行: 2")));
  for (const char* bad : {"bad1.mld", "bad2.mld"}) {
    const qsizetype at = shown.indexOf(path(top / bad) + ": ");
    ASSERT_GE(at, 0) << bad;
    const QString line = shown.mid(at, shown.indexOf("\r\n", at) < 0 ? -1 : shown.indexOf("\r\n", at) - at);
    EXPECT_TRUE(line.contains(qs("処理できないファイルフォーマットのようです。"))) << line.toStdString();
  }
  EXPECT_EQ(titleOf(top / "good1.mld"), cp932("新しい歌"));

  // The error file holds the two rows as a list does, ready to be applied again.
  const ListFileContent again = readListFile(errorFile);
  ASSERT_EQ(again.items.size(), 2u);
  for (const clsMLDListItem& row : again.items) EXPECT_EQ(row.MLDTitle, cp932("壊れた歌"));
}

}  // namespace
}  // namespace tonekit::ui::testing
