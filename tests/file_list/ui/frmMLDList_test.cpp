// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The list window: its states, the help line, making, saving and loading lists, editing a row.

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

#include "ListWindowFixture.h"
#include "file_list/ListFile.h"
#include "file_list/ListTexts.h"
#include "file_list/ui/frmListEdit.h"
#include "file_list/ui/frmWait.h"

namespace tonekit::ui::testing {
namespace {

const ByteString kKirakira = cp932("きらきら星");
const ByteString kKaeru = cp932("ｶｴﾙﾉｳﾀ かえるの合唱");

TEST_F(ListWindowTest, OpensEmptyWithOnlyMakeLoadAndCloseEnabled) {
  EXPECT_EQ(window->windowTitle(), "MLD List");
  struct Expected {
    const char* name;
    const char* caption;
    const char* tip;
    bool enabled;
  };
  const Expected buttons[] = {
      {"cmdExecute", "ﾘｽﾄ内容反映", "リスト内容をファイルに反映します", false},
      {"cmdMakeList", "MLDﾘｽﾄ作成", "指定したディレクトリ以下のMLDファイルのリストを作成します", true},
      {"cmdLoadList", "MLDﾘｽﾄ読込", "CSV形式のファイルリストをロードします", true},
      {"cmdSaveList", "MLDﾘｽﾄ保存", "ファイルリストをCSV形式でセーブします", false},
      {"cmdClose", "閉じる", "", true},
  };
  for (const auto& b : buttons) {
    QAbstractButton* button = control(b.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), qs(b.caption)) << b.name;
    EXPECT_EQ(button->toolTip(), qs(b.tip)) << b.name;
    EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
  }
  EXPECT_FALSE(grid()->isVisible());
  EXPECT_EQ(grid()->toolTip(), qs("ダブルクリックすることにより編集ができます。"));
  auto* caption = control<QLabel>("lblCaption");
  EXPECT_TRUE(caption->isVisible());
  EXPECT_EQ(caption->text(), qs("ファイルリストを作成するか、ロードしてください。"));
}

// The help stands still: its start in the line, as much as the width holds, all of it in the
// tooltip.
TEST_F(ListWindowTest, HelpLineStandsStillAndShowsMoreWhenWider) {
  auto* label = control<QLabel>("lblMessage");
  const QString help = label->toolTip();
  ASSERT_EQ(help.size(), 123);
  ASSERT_TRUE(help.startsWith(qs("選択したフォルダ以下に含まれるMLDファイルのリストです。")));
  const QString shown = label->text();
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(help.startsWith(shown.chopped(1)));
  QTest::qWait(450);
  EXPECT_EQ(label->text(), shown);
  window->resize(window->width() * 3, window->height());
  EXPECT_GT(label->text().size(), shown.size());
}

TEST_F(ListWindowTest, MakesAListOfTheTreeBehindTheWaitWindow) {
  const fs::path top = makeTree();
  bool listHiddenWhileWaiting = false, waitShown = false;
  platform.onProcessEvents = [&] {
    if (!window->waitWindow()) return;
    listHiddenWhileWaiting = !window->isVisible();
    waitShown = window->waitWindow()->isVisible();
  };
  makeListOf(top);

  ASSERT_EQ(platform.folderCalls.size(), 1u);
  EXPECT_EQ(platform.folderCalls[0], qs("MLDファイル検索フォルダ選択"));
  EXPECT_TRUE(listHiddenWhileWaiting);
  EXPECT_TRUE(waitShown);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->waitWindow(), nullptr);

  // This folder's files first, then the next level, then the one below.
  ASSERT_EQ(window->MLDListItems.size(), 4u);
  const auto& items = window->MLDListItems;
  EXPECT_EQ(items[2].MLDPath, (top / "sub" / "b.mld").string());
  EXPECT_EQ(items[3].MLDPath, (top / "sub" / "deep" / "c.mld").string());
  for (const auto& item : items) {
    if (item.MLDPath == (top / "broken.mld").string())
      EXPECT_TRUE(item.MLDTitle.empty());
    else if (item.MLDPath == (top / "a.mld").string())
      EXPECT_EQ(item.MLDTitle, kKirakira);
    else
      EXPECT_NE(item.MLDPath.find("/sub/"), std::string::npos) << item.MLDPath;
  }
  EXPECT_EQ(items[2].MLDTitle, kKaeru);

  // The grid shows every row, numbered from 1, with the decoded title.
  ASSERT_TRUE(grid()->isVisible());
  ASSERT_EQ(grid()->model()->rowCount(), 4);
  EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString(), qs("ファイルパス"));
  EXPECT_EQ(grid()->model()->headerData(1, Qt::Horizontal).toString(), qs("タイトル"));
  EXPECT_EQ(grid()->model()->headerData(0, Qt::Vertical).toInt(), 1);
  EXPECT_EQ(cell(2, 0), QString::fromStdString(items[2].MLDPath));
  EXPECT_EQ(cell(2, 1), qs("ｶｴﾙﾉｳﾀ かえるの合唱"));
  EXPECT_EQ(grid()->currentIndex().row(), 0);
  EXPECT_TRUE(control("cmdExecute")->isEnabled());
  EXPECT_TRUE(control("cmdSaveList")->isEnabled());
}

TEST_F(ListWindowTest, CancelledFolderOrEmptyTreeKeepsTheList) {
  const fs::path top = makeTree();
  makeListOf(top);
  ASSERT_EQ(window->MLDListItems.size(), 4u);
  const MLDList before = window->MLDListItems;

  window->cmdMakeList_Click();  // the browser is cancelled
  EXPECT_TRUE(platform.messages.empty());

  fs::create_directories(root / "empty" / "inner");
  writeBytes(root / "empty" / "inner" / "x.mld.bak", bytesOf("x"));
  makeListOf(root / "empty");
  EXPECT_EQ(platform.messageTexts(), QStringList{qs("mldファイルがありません。")});
  EXPECT_EQ(platform.messages[0].icon, Icon::Information);
  EXPECT_EQ(window->MLDListItems, before);
  EXPECT_EQ(grid()->model()->rowCount(), 4);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(ListWindowTest, FilesThatCannotBeReadAreNamedNotListed) {
  const fs::path top = makeTree();
  ASSERT_EQ(::mkfifo((top / "pipe.mld").c_str(), 0600), 0);
  makeListOf(top);
  EXPECT_EQ(window->MLDListItems.size(), 4u);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messageTexts()[0].contains(QString::fromStdString((top / "pipe.mld").string())));
}

TEST_F(ListWindowTest, SecondListReplacesTheFirst) {
  makeListOf(makeTree());
  fs::create_directories(root / "other");
  fs::copy_file(samples / "kaeru.mld", root / "other" / "only.mld");
  makeListOf(root / "other");
  ASSERT_EQ(window->MLDListItems.size(), 1u);
  ASSERT_EQ(grid()->model()->rowCount(), 1);
  EXPECT_EQ(grid()->model()->headerData(0, Qt::Vertical).toInt(), 1);
  EXPECT_EQ(cell(0, 0), QString::fromStdString((root / "other" / "only.mld").string()));
}

TEST_F(ListWindowTest, SavesAndLoadsTheListAsCsv) {
  makeListOf(makeTree());
  const MLDList made = window->MLDListItems;
  const fs::path csv = root / "list.csv";

  platform.saveAnswers.push_back(QString::fromStdString(csv.string()));
  window->cmdSaveList_Click();
  ASSERT_EQ(platform.saveCalls.size(), 1u);
  EXPECT_EQ(platform.saveCalls[0].title, qs("タイトルリスト出力ファイル選択"));
  EXPECT_EQ(platform.saveCalls[0].filter, qs("CSV(カンマ区切り)(*.csv)|*.csv|CSV UTF-8(カンマ区切り)(*.csv)|*.csv"));
  // The window asks its own question about an existing file, not the dialog.
  EXPECT_FALSE(platform.saveCalls[0].confirmOverwrite);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(window->isVisible());

  // Saving again asks, and 追記 (the default) appends; loading gives the rows of both saves.
  platform.saveAnswers.push_back(QString::fromStdString(csv.string()));
  window->cmdSaveList_Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].buttons, Buttons::AppendReplaceCancel);
  EXPECT_TRUE(platform.messages[0].text.startsWith(qs("「list.csv」はすでにあります。"))) << platform.messages[0].text.toStdString();
  platform.messages.clear();
  platform.openAnswers.push_back(QString::fromStdString(csv.string()));
  window->cmdLoadList_Click();
  ASSERT_EQ(platform.openCalls.size(), 1u);
  EXPECT_EQ(platform.openCalls[0].title, qs("読み込みCSVファイル選択"));
  EXPECT_EQ(platform.openCalls[0].filter, qs("CSV(カンマ区切り)(*.csv)|*.csv|すべてのファイル (*)|*"));
  EXPECT_TRUE(platform.openCalls[0].existingOnly);
  MLDList twice = made;
  twice.insert(twice.end(), made.begin(), made.end());
  EXPECT_EQ(window->MLDListItems, twice);
  EXPECT_EQ(grid()->model()->rowCount(), 8);
  EXPECT_EQ(cell(6, 1), qs("ｶｴﾙﾉｳﾀ かえるの合唱"));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ListWindowTest, PathsTheCodePageCannotHoldAreNamedAndStayInTheWindow) {
  const fs::path emoji = root / "曲😀.mld";
  fs::copy_file(samples / "kirakira.mld", emoji);
  window->MLDListItems = {{emoji.string(), cp932("絵")}};
  platform.saveAnswers = {QString::fromStdString((root / "sjis.csv").string()),
                          QString::fromStdString((root / "utf8.csv").string())};
  platform.saveFilterAnswers = {0, 1};  // then the UTF-8 list, which holds it
  window->cmdSaveList_Click();
  window->cmdSaveList_Click();
  EXPECT_EQ(platform.messageTexts(), QStringList{QString::fromStdString(leftOutMessage(window->MLDListItems, {0}, ListEncoding::Cp932))});
  EXPECT_EQ(readListFile(root / "utf8.csv").items, window->MLDListItems);
  window->cmdExecute_Click();  // the window's own row still reaches the file
  EXPECT_EQ(titleOf(emoji), cp932("絵"));
}

TEST_F(ListWindowTest, LoadingAListEnablesSaveAndApply) {
  const fs::path csv = root / "typed.csv";
  writeBytes(csv, bytesOf("/x/a.mld,plain\r\n\"/x/b.mld\",\"second\"\r\n"));
  platform.openAnswers.push_back(QString::fromStdString(csv.string()));
  window->cmdLoadList_Click();
  ASSERT_EQ(window->MLDListItems.size(), 2u);
  EXPECT_EQ(cell(0, 0), "/x/a.mld");
  EXPECT_EQ(cell(1, 1), "second");
  EXPECT_TRUE(grid()->isVisible());
  EXPECT_TRUE(control("cmdExecute")->isEnabled());
  EXPECT_TRUE(control("cmdSaveList")->isEnabled());
}

TEST_F(ListWindowTest, ListFileWithoutLinesEmptiesTheListButButtonsStayEnabled) {
  makeListOf(makeTree());
  writeBytes(root / "blank.csv", bytesOf("\r\n\r\n"));
  platform.openAnswers.push_back(QString::fromStdString((root / "blank.csv").string()));
  window->cmdLoadList_Click();
  EXPECT_EQ(platform.messageTexts(), QStringList{qs("ファイルからリスト情報を読み込めませんでした。")});
  EXPECT_TRUE(window->MLDListItems.empty());
  EXPECT_EQ(grid()->model()->rowCount(), 0);
  EXPECT_TRUE(control("cmdExecute")->isEnabled());
  EXPECT_TRUE(control("cmdSaveList")->isEnabled());

  // Now every command that needs rows says there are none.
  platform.messages.clear();
  window->cmdSaveList_Click();
  window->mfgMLDList_DblClick();
  EXPECT_EQ(platform.messageTexts(), QStringList({qs("リストがありません。"), qs("リストがありません。")}));
  EXPECT_TRUE(platform.saveCalls.empty());
  EXPECT_TRUE(platform.dialogsShown.empty());
}

TEST_F(ListWindowTest, UnreadableListFileIsReportedAndTheListStays) {
  makeListOf(makeTree());
  const MLDList before = window->MLDListItems;
  platform.openAnswers.push_back(QString::fromStdString((root / "gone.csv").string()));
  window->cmdLoadList_Click();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, qs("処理できませんでした。"));
  EXPECT_EQ(platform.messages[1].title, qs("エラー情報"));
  EXPECT_EQ(window->MLDListItems, before);
  EXPECT_EQ(grid()->model()->rowCount(), 4);

  platform.messages.clear();
  window->cmdLoadList_Click();  // cancelled
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(window->MLDListItems, before);
}

TEST_F(ListWindowTest, FailedSaveBringsTheListWindowBack) {
  makeListOf(makeTree());
  platform.saveAnswers.push_back(QString::fromStdString((root / "no" / "such" / "folder.csv").string()));
  window->cmdSaveList_Click();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, qs("処理できませんでした。"));
  EXPECT_TRUE(platform.messages[1].text.contains(qs("\r\n-2147221502:OutputBuffer.FileOutput:出力失敗 ")))
      << platform.messages[1].text.toStdString();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->waitWindow(), nullptr);
  EXPECT_FALSE(fs::exists(root / "no"));
}

TEST_F(ListWindowTest, DoubleClickEditsTheCurrentRow) {
  makeListOf(makeTree());
  const MLDList before = window->MLDListItems;
  grid()->setCurrentIndex(grid()->model()->index(2, 1));

  // Cancel: nothing changes.
  QString shownPath, shownTitle;
  platform.dialogScripts.push_back([&](QDialog& dialog) {
    shownPath = dialog.findChild<QLabel*>("lblFilePath")->toolTip();
    shownTitle = dialog.findChild<QLineEdit*>("txtTitle")->text();
    dialog.findChild<QLineEdit*>("txtTitle")->setText(qs("捨てる題名"));
    dialog.findChild<QPushButton*>("cmdCancel")->click();
  });
  window->mfgMLDList_DblClick();
  ASSERT_EQ(platform.dialogsShown, std::vector<QString>{"frmListEdit"});
  EXPECT_EQ(shownPath, QString::fromStdString(before[2].MLDPath));
  EXPECT_EQ(shownTitle, qs("ｶｴﾙﾉｳﾀ かえるの合唱"));
  EXPECT_EQ(window->MLDListItems, before);
  EXPECT_EQ(cell(2, 1), qs("ｶｴﾙﾉｳﾀ かえるの合唱"));

  // Ok with a new title: the row keeps its bytes, the grid shows it, the row is selected.
  platform.dialogScripts.push_back([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("txtTitle")->setText(qs("新しい題名"));
    dialog.findChild<QPushButton*>("cmdOk")->click();
  });
  window->mfgMLDList_DblClick();
  EXPECT_EQ(window->MLDListItems[2].MLDTitle, cp932("新しい題名"));
  EXPECT_EQ(window->MLDListItems[2].MLDPath, before[2].MLDPath);
  EXPECT_EQ(cell(2, 1), qs("新しい題名"));
  EXPECT_EQ(grid()->currentIndex().row(), 2);
  EXPECT_TRUE(grid()->selectionModel()->isRowSelected(2, {}));
  for (std::size_t i : {0u, 1u, 3u}) EXPECT_EQ(window->MLDListItems[i], before[i]);
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ListWindowTest, MouseDoubleClickEditsTheRowUnderThePointer) {
  makeListOf(makeTree());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  platform.dialogScripts.push_back([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("txtTitle")->setText(qs("二行目"));
    dialog.findChild<QPushButton*>("cmdOk")->click();
  });
  const QRect second = grid()->visualRect(grid()->model()->index(1, 1));
  QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, second.center());
  ASSERT_EQ(platform.dialogsShown.size(), 1u);
  EXPECT_EQ(window->MLDListItems[1].MLDTitle, cp932("二行目"));
}

TEST_F(ListWindowTest, TitleWithATabShowsUpToTheTab) {
  fs::create_directories(root / "t");
  clsMLD doc;
  doc.MLDFile = (samples / "kirakira.mld").string();
  doc.ParseMLD();
  doc.MLDTitl = bytesOf("left\tright");
  doc.MLDFile = (root / "t" / "tab.mld").string();
  ASSERT_NO_THROW(doc.SaveMLD());
  makeListOf(root / "t");
  ASSERT_EQ(window->MLDListItems.size(), 1u);
  EXPECT_EQ(window->MLDListItems[0].MLDTitle, bytesOf("left\tright"));
  EXPECT_EQ(cell(0, 1), "left");
}

}  // namespace
}  // namespace tonekit::ui::testing
