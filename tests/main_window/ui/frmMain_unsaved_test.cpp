// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The main window's everyday habits: the question before unsaved changes go, on every road; where
// its dialogs start and what they propose; the files read lately.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "MldBuilder.h"
#include "ScriptedPlatform.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "base/CodePage.h"
#include "mld/clsMLD.h"
#include "main_window/ui/frmMain.h"
#include "platform/Settings.h"

namespace fs = std::filesystem;
using namespace tonekit;
using namespace tonekit::ui;

namespace {

QString q(const fs::path& p) { return QString::fromStdString(p.string()); }
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

ByteString oneNoteMidi() {
  using namespace smftest;
  return header(0, 1, 48) + track(note(0, 60, 0, 48));
}

class UnsavedChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    first = melody("first.mld", "最初の歌");
    second = melody("second.mld", "次の歌");
    window = std::make_unique<frmMain>();
    window->show();
    load(first);
  }
  fs::path melody(const std::string& name, const char* title) {
    return dir.write(name, mldtest::mld({mldtest::chunk("titl", encodeCp932(title).bytes)},
                                        {mldtest::track(mldtest::kEndOfTrack)}));
  }
  template <typename T>
  T* get(const char* name) {
    T* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QLineEdit* title() { return get<QLineEdit>("txtTitl"); }
  void load(const fs::path& path) {
    get<QLineEdit>("txtPath")->setText(q(path));
    get<QPushButton>("cmdParse")->click();
  }
  void editTitle() {
    title()->selectAll();
    QTest::keyClicks(title(), "x");
  }
  int questions() const {
    int n = 0;
    for (const auto& m : scripted.messages) n += m.buttons == Buttons::SaveDiscardCancel;
    return n;
  }

  ScriptedPlatform scripted;
  test::TempDir dir;
  fs::path first, second;
  std::unique_ptr<frmMain> window;
};

// The roads that end the window: Esc, 終了, the menu's 終了 and the window's close box.
TEST_F(UnsavedChanges, ClosingAsksOnlyWithChangesAndCancelKeepsTheWindow) {
  const std::function<void()> roads[] = {
      [&] {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(get<QLineEdit>("txtPath"), Qt::Key_Escape);
      },
      [&] { get<QPushButton>("cmdClose")->click(); },
      [&] { get<QAction>("mnuFileEnd")->trigger(); },
      [&] { window->close(); },
  };
  for (const auto& road : roads) {
    window->show();
    load(first);  // the changes the last road discarded are still there: asked and dropped
    scripted.messages.clear();
    road();  // unchanged: closes without a word
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(questions(), 0);

    window->show();
    editTitle();
    scripted.answers.push_back(Answer::Cancel);
    road();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(questions(), 1);
    EXPECT_EQ(scripted.messages.back().text, u("「first.mld」の変更は保存されていません。保存しますか？"));
    EXPECT_EQ(scripted.messages.back().icon, Icon::Question);

    scripted.answers.push_back(Answer::Discard);
    road();
    EXPECT_FALSE(window->isVisible());
    scripted.messages.clear();
  }

  // 保存 runs the save: the window closes once the file is written, stays when the save is
  // cancelled.
  window->show();
  load(first);
  editTitle();
  scripted.answers = {Answer::Save, Answer::Save};
  scripted.saveAnswers = {std::nullopt, q(dir / "kept.mld")};
  window->close();
  EXPECT_TRUE(window->isVisible());
  window->close();
  EXPECT_FALSE(window->isVisible());
  clsMLD kept;
  kept.MLDFile = (dir / "kept.mld").string();
  ASSERT_TRUE(kept.ParseMLD());
  EXPECT_EQ(kept.MLDTitl, bytesOf("x"));
}

// The roads that replace the document: 解析, 開く, a recent file and MIDI import.
TEST_F(UnsavedChanges, ReplacingTheDocumentAsksFirst) {
  // A track handed back by the track view counts once it differs.
  auto& tracks = *window->document()->MLDTracData;
  const ByteString read = tracks.item("trac0");
  tracks.replace("trac0", mldtest::track({0x00, 0xFF, 0xDF, 0x00, 0x00, 0xFF, 0xDF, 0x00}));
  EXPECT_TRUE(window->isModified());
  tracks.replace("trac0", read);
  EXPECT_FALSE(window->isModified());

  const auto midi = dir.write("tune.mid", oneNoteMidi());
  settings::addRecentFile(q(second));
  const std::function<void()> roads[] = {
      [&] { load(second); },
      [&] {
        scripted.openAnswers.push_back(q(second));
        get<QAction>("mnuFileOpen")->trigger();
      },
      [&] {
        get<QMenu>("mnuFileRecent")->aboutToShow();
        get<QAction>("mnuFileRecent0")->trigger();
      },
      [&] {
        scripted.openAnswers.push_back(q(midi));
        get<QAction>("mnuFileImportMidi")->trigger();
      },
  };
  for (const auto& road : roads) {
    load(first);
    editTitle();
    scripted.answers.push_back(Answer::Cancel);
    road();
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(title()->text(), "x");
    EXPECT_TRUE(window->isModified());

    scripted.answers.push_back(Answer::Discard);
    road();
    EXPECT_EQ(questions(), 2);
    EXPECT_NE(title()->text(), "x");
    scripted.messages.clear();
  }
}

// What the path box shows, where the dialogs start and what they propose.
TEST_F(UnsavedChanges, DialogsStartBesideTheDocumentAndProposeItsName) {
  scripted.saveAnswers.push_back(std::nullopt);
  get<QPushButton>("cmdSave")->click();
  ASSERT_EQ(scripted.saveCalls.size(), 1u);
  EXPECT_EQ(scripted.saveCalls[0].startFolder, q(dir.path()));
  EXPECT_EQ(scripted.saveCalls[0].proposedName, "first.mld");
  get<QAction>("mnuFileExportMidi")->trigger();
  ASSERT_EQ(scripted.saveCalls.size(), 2u);
  EXPECT_EQ(scripted.saveCalls[1].proposedName, "first.mid");

  // A new path chosen clears what the old file showed.
  const fs::path other = melody("elsewhere/other.mld", "別の歌");
  scripted.openAnswers.push_back(q(other));
  get<QAction>("mnuFileOpen")->trigger();
  EXPECT_EQ(title()->text(), u("曲タイトル"));
  EXPECT_FALSE(get<QPushButton>("cmdSave")->isEnabled());

  // Without a document: where the same dialog chose last, across runs; else the home folder.
  frmMain fresh;
  scripted.openAnswers.push_back(std::nullopt);
  fresh.findChild<QAction*>("mnuFileOpen")->trigger();
  EXPECT_EQ(scripted.openCalls.back().startFolder, q(other.parent_path()));
  EXPECT_EQ(scripted.openCalls.back().proposedName, "");
  fresh.findChild<QAction*>("mnuFileImportMidi")->trigger();
  EXPECT_EQ(scripted.openCalls.back().startFolder, QDir::homePath());

  // A MIDI import names no MLD file until its first save.
  const auto midi = dir.write("tune.mid", oneNoteMidi());
  scripted.openAnswers.push_back(q(midi));
  fresh.findChild<QAction*>("mnuFileImportMidi")->trigger();
  auto* path = fresh.findChild<QLineEdit*>("txtPath");
  EXPECT_EQ(path->text(), "");
  EXPECT_EQ(path->placeholderText(), q(midi));
  EXPECT_TRUE(fresh.isModified());
  scripted.saveAnswers.push_back(q(dir / "tune.mld"));
  fresh.findChild<QPushButton*>("cmdSave")->click();
  EXPECT_EQ(scripted.saveCalls.back().proposedName, "tune.mld");
  EXPECT_EQ(path->text(), q(dir / "tune.mld"));
  EXPECT_FALSE(fresh.isModified());
}

TEST_F(UnsavedChanges, RecentFilesKeepTheLastEightAndDropMissingOnes) {
  for (int i = 0; i < 9; ++i) load(melody("r" + std::to_string(i) + ".mld", "歌"));
  get<QMenu>("mnuFileRecent")->aboutToShow();
  EXPECT_EQ(get<QAction>("mnuFileRecent0")->text(), "&1 " + q(dir / "r8.mld"));
  EXPECT_EQ(window->findChild<QAction*>("mnuFileRecent8"), nullptr);
  fs::remove(dir / "r8.mld");
  get<QAction>("mnuFileRecent0")->trigger();
  EXPECT_EQ(settings::recentFiles().size(), 7);
  get<QAction>("mnuFileRecentClear")->trigger();
  EXPECT_TRUE(settings::recentFiles().isEmpty());
}

}  // namespace
