// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The main window's desktop habits: Enter and a key for "解析", a save over the file read that
// lands on that very file, Ctrl+S in place, the title and the status bar, a window that fits any
// screen, and names for screen readers.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <cstdio>

#include "MldBuilder.h"
#include "ScriptedPlatform.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "base/CodePage.h"
#include "main_window/ui/frmMain.h"
#include "platform/Settings.h"

namespace fs = std::filesystem;
using namespace tonekit;
using namespace tonekit::ui;

namespace {

QString q(const fs::path& p) { return QString::fromStdString(p.string()); }
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

ByteString titled(const char* title, std::uint8_t major = 1) {
  return mldtest::mld({mldtest::chunk("titl", encodeCp932(title).bytes)}, {mldtest::track(mldtest::kEndOfTrack)},
                      major);
}

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  template <typename T>
  T* get(const char* name) {
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QLineEdit* path() { return get<QLineEdit>("txtPath"); }
  QLineEdit* title() { return get<QLineEdit>("txtTitl"); }
  void load(const fs::path& file) {
    path()->setText(q(file));
    get<QPushButton>("cmdParse")->click();
  }
  void retitle(const char* text) { title()->setText(u(text)); }
  // Another file put under the name (a new inode), as an editor or a sync tool does.
  void swapIn(const fs::path& file, const ByteString& bytes) { fs::rename(dir.write("swap.tmp", bytes), file); }
  QString readTitle(const fs::path& file) {
    clsMLD doc;
    doc.MLDFile = file.string();
    EXPECT_TRUE(doc.ParseMLD());
    return QString::fromStdString(decodeCp932(doc.MLDTitl));
  }

  ScriptedPlatform scripted;
  test::TempDir dir;
  frmMain window;
};

}  // namespace

TEST_F(Desktop, EnterInThePathBoxAndAltAReadTheFile) {
  const fs::path file = dir.write("a.mld", titled("エンター"));
  path()->setText(q(file));
  QTest::keyClick(path(), Qt::Key_Return);
  EXPECT_EQ(title()->text(), u("エンター"));
  path()->setText(q(dir.write("b.mld", titled("オルトA"))));
  QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(title()->text(), u("オルトA"));
  EXPECT_TRUE(scripted.messages.empty());
}

// Ctrl+S writes the file read, in place, with no dialog; 保存 keeps its dialog on Ctrl+Shift+S.
TEST_F(Desktop, CtrlSWritesTheFileReadAndTheTitleAndStatusBarFollow) {
  const fs::path file = dir.write("song.mld", titled("前"));
  EXPECT_EQ(window.windowTitle(), "TONEKIT");
  load(file);
  EXPECT_EQ(window.windowTitle(), u("song.mld[*] - TONEKIT"));
  EXPECT_FALSE(window.isWindowModified());
  retitle("後");
  EXPECT_TRUE(window.isWindowModified());

  EXPECT_EQ(get<QAction>("mnuFileOverwrite")->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_EQ(get<QAction>("mnuFileSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  QTest::keyClick(title(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(scripted.saveCalls.empty());
  EXPECT_TRUE(scripted.messages.empty()) << scripted.messageTexts().join('\n').toStdString();
  EXPECT_EQ(readTitle(file), u("後"));
  EXPECT_FALSE(window.isWindowModified());
  EXPECT_TRUE(window.statusBar()->currentMessage().contains(q(file))) << window.statusBar()->currentMessage().toStdString();

  // The file just written is the one the next Ctrl+S lands on.
  retitle("三度目");
  QTest::keyClick(title(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(scripted.messages.empty()) << scripted.messageTexts().join('\n').toStdString();
  EXPECT_EQ(readTitle(file), u("三度目"));

  // Saved under a new name: the title names it, it is a recent file, and Ctrl+S goes there.
  const fs::path other = dir / "other.mld";
  scripted.saveAnswers.push_back(q(other));
  QTest::keyClick(title(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(scripted.saveCalls.size(), 1u);
  EXPECT_EQ(window.windowTitle(), u("other.mld[*] - TONEKIT"));
  EXPECT_EQ(settings::recentFiles().value(0), q(other));
  retitle("別名");
  get<QAction>("mnuFileOverwrite")->trigger();
  EXPECT_EQ(readTitle(other), u("別名"));
  EXPECT_EQ(readTitle(file), u("三度目"));
}

// A file swapped under the name between the read and the save is left alone, whichever road the
// save takes, with the failure the command line reports.
TEST_F(Desktop, ASaveOverTheFileReadRefusesAFileSwappedSinceTheRead) {
  const fs::path file = dir.write("swapped.mld", titled("読んだ"));
  const ByteString theirs = titled("他人の");
  const std::function<void()> roads[] = {
      [&] { get<QAction>("mnuFileOverwrite")->trigger(); },
      [&] {
        scripted.saveAnswers.push_back(q(file));
        get<QPushButton>("cmdSave")->click();
      },
  };
  for (const auto& road : roads) {
    dir.write(file.filename().string(), titled("読んだ"));
    load(file);
    retitle("新しい");
    swapIn(file, theirs);
    scripted.messages.clear();
    road();
    EXPECT_EQ(test::TempDir::read(file), theirs);
    ASSERT_EQ(scripted.messages.size(), 2u);
    EXPECT_EQ(scripted.messages[0].text, u("処理でませんでした。"));
    EXPECT_TRUE(scripted.messages[1].text.contains("\r\n75:")) << scripted.messages[1].text.toStdString();
    EXPECT_TRUE(window.isWindowModified());
  }
}

TEST_F(Desktop, OpeningHabits) {
  // A later-version file opens without the alarm, its type beside the options.
  load(dir.write("later.mld", titled("後期", 4)));
  EXPECT_TRUE(scripted.messages.empty()) << scripted.messageTexts().join('\n').toStdString();
  EXPECT_EQ(get<QLabel>("lblMajorRaw")->text(), "(4)");
  load(dir.write("odd.mld", titled("変", 9)));
  EXPECT_EQ(scripted.messageTexts(), QStringList{u("メジャータイプを解析できませんでした。")});

  // A failed read leaves nothing of the file before and nothing to save or edit.
  window.SetExpertLayout();
  load(dir.write("good.mld", titled("良い")));
  ASSERT_TRUE(get<QPushButton>("cmdTrac")->isEnabled());
  load(dir.write("short.mld", bytesOf("melo")));
  for (const char* name : {"cmdSave", "cmdTrac"}) EXPECT_FALSE(get<QPushButton>(name)->isEnabled()) << name;
  for (const char* name : {"mnuFileSave", "mnuFileOverwrite", "mnuShowTracData"})
    EXPECT_FALSE(get<QAction>(name)->isEnabled()) << name;
  EXPECT_EQ(get<QLineEdit>("txtMLDFileLength")->text(), "");
  EXPECT_EQ(get<QLineEdit>("txtMLDLengthToTrac")->text(), "");
  for (const char* name : {"optMajor0", "optMiner1", "optTracCount0"})
    EXPECT_FALSE(get<QRadioButton>(name)->isChecked()) << name;
  EXPECT_EQ(window.windowTitle(), "TONEKIT");

  // After a MIDI import the question names the new MLD document.
  using namespace smftest;
  scripted.openAnswers.push_back(q(dir.write("tune.mid", header(0, 1, 48) + track(note(0, 60, 0, 48)))));
  get<QAction>("mnuFileImportMidi")->trigger();
  EXPECT_EQ(window.windowTitle(), u("tune.mld[*] - TONEKIT"));
  scripted.messages.clear();
  scripted.answers.push_back(Answer::Cancel);
  window.close();
  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_EQ(scripted.messages[0].text, u("「tune.mld」の変更は保存されていません。保存しますか？"));
  // Saved, it is a recent file.
  scripted.answers.push_back(Answer::Save);
  scripted.saveAnswers.push_back(q(dir / "tune.mld"));
  window.close();
  EXPECT_EQ(settings::recentFiles().value(0), q(dir / "tune.mld"));
}

// Smaller than the classic size the page scrolls, larger it stays where it was.
TEST_F(Desktop, TheWindowShrinksIntoAScrollAreaAndGrows) {
  auto* scroll = get<QScrollArea>("scrollArea");
  QTest::qWait(20);
  EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());  // the classic size needs none
  window.SetExpertLayout();
  auto* frame = get<QWidget>("fraInfomationPart");
  const QPoint place = frame->pos();
  const QSize half = window.size() / 2;
  window.resize(half);
  QTest::qWait(20);
  EXPECT_EQ(window.size(), half);
  EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
  EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(frame->pos(), place);
  window.resize(1000, 760);
  QTest::qWait(20);
  EXPECT_EQ(window.size(), QSize(1000, 760));
  EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
  EXPECT_EQ(frame->pos(), place);
}

TEST_F(Desktop, EveryControlHasTheNameOfItsCaption) {
  const auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
  QStringList checks;
  for (const char* box : {"chkTitl", "chkSorc", "chkVers", "chkDate", "chkCopy", "chkProt", "chkNote", "chkExst"})
    checks << name(get<QWidget>(box));
  EXPECT_EQ(checks, (QStringList{"Titl", "Sorc", "Vers", "Date", "Copy", "Prot", "Note", "Exst"}));
  EXPECT_EQ(name(title()), "Titl");
  EXPECT_EQ(name(path()), "MLDFilePath");
  EXPECT_EQ(name(get<QWidget>("cmdFileDialog")), u("開く"));
  EXPECT_EQ(name(get<QWidget>("txtMLDFileLength")), u("ファイル長"));
  EXPECT_EQ(name(get<QWidget>("cmdParse")), u("解析"));
}
