// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The main window's "MIDIファイルから作成…": the dialog, the new document on show, the summary.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "ScriptedPlatform.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "main_window/ui/frmMain.h"

using namespace tonekit;
using namespace tonekit::smftest;
using namespace tonekit::ui;

TEST(MainWindowImport, MenuItemShowsTheNewDocumentAndOneSummary) {
  ScriptedPlatform scripted;
  test::TempDir dir;
  frmMain window;
  auto* item = window.findChild<QAction*>("mnuFileImportMidi");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), QString::fromUtf8("MIDIファイルから作成(&I)…"));

  item->trigger();  // cancelled
  ASSERT_EQ(scripted.openCalls.size(), 1u);
  EXPECT_EQ(scripted.openCalls[0].filter, QString::fromUtf8("SMFファイル（*.mid)|*.mid"));
  EXPECT_TRUE(scripted.openCalls[0].existingOnly);
  EXPECT_EQ(window.document(), nullptr);

  const auto midi =
      dir.write("tune.mid", header(0, 1, 48) + track(note(0, 60, 0, 48) + note(0, 10, 0, 48) + note(5, 62, 0, 2880)));
  scripted.openAnswers.push_back(QString::fromStdString(midi.string()));
  item->trigger();
  ASSERT_NE(window.document(), nullptr);
  EXPECT_EQ(window.findChild<QLineEdit*>("txtTitl")->text(), "tune.mid");
  EXPECT_TRUE(window.findChild<QRadioButton*>("optTracCount1")->isChecked());
  EXPECT_TRUE(window.findChild<QRadioButton*>("optNoteLen1")->isChecked());
  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_TRUE(
      scripted.messages[0].text.endsWith(QString::fromUtf8("除いた音符 : 1\r\n255ティックに切り詰めた音符 : 1\r\n"
                                                           "切り詰めで短くなった長さ (最大) : 8.8 秒")))
      << scripted.messages[0].text.toStdString();
  window.SetExpertLayout();
  EXPECT_TRUE(window.findChild<QPushButton*>("cmdTrac")->isEnabled());

  scripted.saveAnswers.push_back(QString::fromStdString((dir / "tune.mld").string()));
  window.findChild<QPushButton*>("cmdSave")->click();
  EXPECT_EQ(test::TempDir::read(dir / "tune.mld"), window.document()->renderMLD());

  // A file that is no melody: the error report, and the document on show stays.
  const clsMLD* shown = window.document();
  scripted.openAnswers.push_back(QString::fromStdString(dir.write("bad.mid", bytesOf("MThd")).string()));
  item->trigger();
  EXPECT_EQ(window.document(), shown);
  EXPECT_EQ(scripted.messages.size(), 3u);  // the error report is two boxes
}

// The file converts beside the window under a progress window; its キャンセル leaves the window
// as it was: no document, no title, no summary.
TEST(MainWindowImport, CancelWhileConvertingChangesNothing) {
  ScriptedPlatform scripted;
  test::TempDir dir;
  frmMain window;
  window.show();
  const QString title = window.windowTitle();
  const QString shownTitle = window.findChild<QLineEdit*>("txtTitl")->text();
  const auto midi = dir.write("tune.mid", header(0, 1, 48) + track(note(0, 60, 0, 48)));
  scripted.openAnswers.push_back(QString::fromStdString(midi.string()));
  bool shownWhileConverting = false;
  QTimer::singleShot(0, &window, [&] {
    auto* progress = window.findChild<QProgressDialog*>("dlgImportProgress");
    shownWhileConverting = progress && progress->isVisible() && progress->windowTitle() == "MIDIファイルから作成";
    if (auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr) cancel->click();
  });
  window.findChild<QAction*>("mnuFileImportMidi")->trigger();
  EXPECT_TRUE(shownWhileConverting);
  EXPECT_EQ(window.document(), nullptr);
  EXPECT_EQ(window.windowTitle(), title);
  EXPECT_EQ(window.findChild<QLineEdit*>("txtTitl")->text(), shownTitle);
  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_EQ(scripted.messages[0].text, QString::fromUtf8("MIDIファイルからの作成を中止しました。表示中の内容はそのままです。"));

  scripted.messages.clear();
  scripted.openAnswers.push_back(QString::fromStdString(midi.string()));
  window.findChild<QAction*>("mnuFileImportMidi")->trigger();
  ASSERT_NE(window.document(), nullptr);
  EXPECT_EQ(window.findChild<QProgressDialog*>("dlgImportProgress"), nullptr);
  EXPECT_TRUE(scripted.messages.empty());
}
