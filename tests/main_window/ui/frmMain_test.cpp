// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The main window driven as a user would: by its controls' names, with scripted dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <initializer_list>

#include "MldBuilder.h"
#include "ScriptedPlatform.h"
#include "TempDir.h"
#include "base/AppFolder.h"
#include "base/CodePage.h"
#include "base/clsCalcUtil.h"
#include "mld/clsMLD.h"
#include "main_window/ui/frmMain.h"
#include "platform/Twips.h"
#include "tonekit/Version.h"

namespace fs = std::filesystem;
using tonekit::ByteString;
using tonekit::clsMLD;
using namespace tonekit::ui;

namespace {

using tonekit::mldtest::chunk;
using tonekit::mldtest::track;
using tonekit::mldtest::kEndOfTrack;

ByteString sjis(const char* utf8) { return tonekit::encodeCp932(utf8).bytes; }

// An MLD file; trackCount is the header byte, which may disagree with the tracks given.
ByteString mld(std::initializer_list<ByteString> chunks, std::uint8_t major = 1, std::uint8_t minor = 1,
               int trackCount = -1, std::initializer_list<ByteString> tracks = {}) {
  const std::vector<ByteString> given = tracks.size() ? std::vector<ByteString>(tracks) : std::vector<ByteString>{track(kEndOfTrack)};
  return tonekit::mldtest::mld(chunks, given, major, minor, trackCount);
}

QString q(const fs::path& p) { return QString::fromStdString(p.string()); }
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

clsMLD readBack(const fs::path& path) {
  clsMLD doc;
  doc.MLDFile = path.string();
  EXPECT_TRUE(doc.ParseMLD());
  return doc;
}

class MainWindow : public ::testing::Test {
 protected:
  template <typename T>
  T* get(const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control " << name;
    return found;
  }
  QLineEdit* text(const char* name) { return get<QLineEdit>(name); }
  QCheckBox* check(const char* name) { return get<QCheckBox>(name); }
  QRadioButton* option(const char* name) { return get<QRadioButton>(name); }
  QPushButton* button(const char* name) { return get<QPushButton>(name); }
  QAction* menu(const char* name) { return get<QAction>(name); }

  void load(const fs::path& path) {
    text("txtPath")->setText(q(path));
    button("cmdParse")->click();
  }
  fs::path write(const std::string& name, const ByteString& bytes) { return dir.write(name, bytes); }
  fs::path sample(const char* name) { return fs::path(TONEKIT_SAMPLES_DIR) / name; }
  // Saves through the save button, answering the save dialog with path.
  void saveAs(const fs::path& path) {
    scripted.saveAnswers.push_back(q(path));
    button("cmdSave")->click();
  }

  ScriptedPlatform scripted;
  tonekit::test::TempDir dir;
  frmMain window;
};

TEST_F(MainWindow, StartsClearedInTheNormalLayout) {
  EXPECT_EQ(window.windowTitle(), "TONEKIT");
  EXPECT_EQ(window.document(), nullptr);
  EXPECT_FALSE(window.isExpert());
  EXPECT_EQ(button("cmdActionChange")->text(), "To Expert");
  EXPECT_EQ(window.height(), twipsToPixels(3405, &window));
  EXPECT_FALSE(button("cmdSave")->isEnabled());
  EXPECT_FALSE(menu("mnuFileSave")->isEnabled());
  EXPECT_FALSE(button("cmdTrac")->isEnabled());
  EXPECT_FALSE(menu("mnuShowTracData")->isEnabled());
  EXPECT_FALSE(text("txtMLDFileLength")->isEnabled());
  EXPECT_FALSE(text("txtMLDLengthToTrac")->isEnabled());
  EXPECT_TRUE(button("cmdFileDialog")->text().isEmpty());
  EXPECT_FALSE(button("cmdFileDialog")->icon().isNull());

  for (const char* name : {"chkTitl", "chkSorc", "chkVers", "chkDate", "chkCopy", "chkProt", "chkNote", "chkExst"})
    EXPECT_FALSE(check(name)->isChecked()) << name;
  const std::pair<const char*, const char*> texts[] = {
      {"txtTitl", "曲タイトル"}, {"txtVers", "MLDフォーマットのバージョン情報"}, {"txtDate", "データ作成の日付"},
      {"txtCopy", "著作権情報"}, {"txtProt", "データ管理文字列"}, {"txtExst", "拡張ステータス依存データ長情報"}};
  for (const auto& [name, initial] : texts) {
    EXPECT_EQ(text(name)->text(), u(initial)) << name;
    EXPECT_FALSE(text(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(get<QFrame>("picSorc")->isEnabled());
  EXPECT_TRUE(option("optSorcPat0")->isChecked());
  EXPECT_TRUE(option("optNoteLen0")->isChecked());

  // Only the title row of the information frame shows.
  EXPECT_TRUE(get<QGroupBox>("fraFileHead")->isHidden());
  EXPECT_FALSE(check("chkTitl")->isHidden());
  EXPECT_FALSE(text("txtTitl")->isHidden());
  for (const char* name : {"chkSorc", "chkVers", "chkNote", "chkExst", "txtVers", "txtExst", "picSorc", "picNote",
                           "lblSorc", "lblExst"})
    EXPECT_TRUE(get<QWidget>(name)->isHidden()) << name;
  EXPECT_EQ(get<QGroupBox>("fraInfomationPart")->y(), twipsToPixels(1560, &window));
  EXPECT_EQ(get<QGroupBox>("fraInfomationPart")->height(), twipsToPixels(975, &window));
}

TEST_F(MainWindow, LoadShowsHeaderAndEveryChunkOfTheSample) {
  const fs::path path = sample("kaeru.mld");
  const ByteString raw = tonekit::test::TempDir::read(path);
  load(path);

  ASSERT_NE(window.document(), nullptr);
  EXPECT_TRUE(scripted.messages.empty()) << scripted.messageTexts().join(" | ").toStdString();
  EXPECT_EQ(text("txtMLDFileLength")->text(), QString::number(raw.size() - 8));
  EXPECT_EQ(text("txtMLDLengthToTrac")->text(), QString::number(raw[8] * 256 + raw[9]));
  EXPECT_TRUE(option("optMajor1")->isChecked());
  EXPECT_TRUE(option("optMiner1")->isChecked());
  EXPECT_TRUE(option("optTracCount1")->isChecked());

  EXPECT_TRUE(check("chkTitl")->isChecked());
  EXPECT_TRUE(text("txtTitl")->isEnabled());
  EXPECT_EQ(text("txtTitl")->text(), u("ｶｴﾙﾉｳﾀ かえるの合唱"));
  EXPECT_EQ(text("txtVers")->text(), "0200");
  EXPECT_EQ(text("txtProt")->text(), "TONEKIT-SAMPLE");
  EXPECT_TRUE(check("chkExst")->isChecked());
  EXPECT_EQ(text("txtExst")->text(), "");
  // sorc 0x05: external interface, copyright.
  EXPECT_TRUE(option("optSorcIn2")->isChecked());
  EXPECT_TRUE(option("optSorcPat1")->isChecked());
  EXPECT_TRUE(get<QFrame>("picSorc")->isEnabled());
  EXPECT_TRUE(option("optNoteLen1")->isChecked());

  EXPECT_TRUE(button("cmdSave")->isEnabled());
  EXPECT_TRUE(menu("mnuFileSave")->isEnabled());
  EXPECT_FALSE(button("cmdTrac")->isEnabled());  // normal layout
}

TEST_F(MainWindow, SecondLoadClearsRowsTheNewFileLacks) {
  load(sample("kaeru.mld"));
  load(write("bare.mld", mld({chunk("vers", sjis("0100"))})));

  EXPECT_FALSE(check("chkTitl")->isChecked());
  EXPECT_FALSE(text("txtTitl")->isEnabled());
  EXPECT_EQ(text("txtTitl")->text(), u("曲タイトル"));
  EXPECT_FALSE(check("chkNote")->isChecked());
  EXPECT_TRUE(option("optNoteLen0")->isChecked());
  EXPECT_FALSE(get<QFrame>("picNote")->isEnabled());
  EXPECT_TRUE(check("chkVers")->isChecked());
  EXPECT_EQ(text("txtVers")->text(), "0100");
}

TEST_F(MainWindow, MissingOrEmptyPathIsReportedAndLeavesSavingOff) {
  load(sample("kaeru.mld"));
  const fs::path missing = dir / "no such file.mld";
  load(missing);
  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_EQ(scripted.messages[0].text, u("ファイルが存在しません。 - \"") + q(missing) + "\"");
  EXPECT_EQ(scripted.messages[0].icon, Icon::Information);
  EXPECT_EQ(scripted.messages[0].buttons, Buttons::Ok);
  EXPECT_FALSE(button("cmdSave")->isEnabled());
  EXPECT_FALSE(check("chkTitl")->isChecked());

  load("");
  ASSERT_EQ(scripted.messages.size(), 2u);
  EXPECT_EQ(scripted.messages[1].text, u("ファイルが存在しません。 - \"\""));
  // A folder is not a file either.
  load(dir.path());
  EXPECT_EQ(scripted.messages.size(), 3u);
}

TEST_F(MainWindow, UnknownHeaderValuesAreReportedOneByOneAndTheLoadGoesOn) {
  load(sample("kirakira.mld"));  // selects track count 1, major 1, minor 1
  load(write("odd.mld", mld({chunk("titl", sjis("odd"))}, 9, 7, 5)));
  const QStringList expected = {u("トラック数を解析できませんでした。"), u("メジャータイプを解析できませんでした。"),
                                u("マイナータイプを解析できませんでした。")};
  QStringList shown;
  for (const auto& m : scripted.messages) {
    if (!expected.contains(m.text)) continue;
    shown << m.text;
    EXPECT_EQ(m.icon, Icon::None);
    EXPECT_EQ(m.buttons, Buttons::Ok);
  }
  EXPECT_EQ(shown, expected);
  EXPECT_TRUE(option("optTracCount0")->isChecked());  // the previous selection stays
  EXPECT_EQ(text("txtTitl")->text(), "odd");
  EXPECT_TRUE(button("cmdSave")->isEnabled());
}

TEST_F(MainWindow, LaterFormatFileShowsItsOtherChunksAndSavesEveryByte) {
  const ByteString extra = chunk("zqxw", {0x00, 0xFF});
  const ByteString original = tonekit::mldtest::laterMld(2, 2, sjis("後期形式"), {extra});
  load(sample("kirakira.mld"));
  button("cmdActionChange")->click();
  EXPECT_FALSE(button("cmdOtherChunks")->isEnabled());
  load(write("later.mld", original));

  // Major type 3 is neither option: none selected, the number beside them, and no alarm.
  EXPECT_FALSE(scripted.messageTexts().contains(u("メジャータイプを解析できませんでした。")));
  EXPECT_FALSE(option("optMajor0")->isChecked());
  EXPECT_FALSE(option("optMajor1")->isChecked());
  EXPECT_EQ(get<QLabel>("lblMajorRaw")->text(), "(3)");
  EXPECT_EQ(get<QLabel>("lblAudioChunks")->text(), u("adat : 2個 (1008 + 1508 バイト)"));
  EXPECT_EQ(text("txtTitl")->text(), u("後期形式"));

  QStringList cells;
  scripted.dialogScripts.push_back([&](QDialog& dialog) {
    const auto* table = dialog.findChild<QTableWidget*>("mfgOtherChunks");
    for (int row = 0; row < table->rowCount(); ++row)
      cells << table->item(row, 0)->text() + " " + table->item(row, 1)->text() + " " + table->item(row, 2)->text() +
                   " " + table->item(row, 3)->text();
  });
  button("cmdOtherChunks")->click();
  EXPECT_EQ(scripted.dialogsShown, std::vector<QString>{"frmOtherChunks"});
  ASSERT_EQ(cells.size(), 7);
  EXPECT_EQ(cells[3], u("supt 20 support 0120-000-000 サポート情報"));
  EXPECT_EQ(cells[6], u("zqxw 2 00ff "));

  saveAs(dir / "same.mld");
  EXPECT_EQ(tonekit::test::TempDir::read(dir / "same.mld"), original);
  text("txtTitl")->setText(u("新しい題"));
  saveAs(dir / "retitled.mld");
  EXPECT_EQ(tonekit::test::TempDir::read(dir / "retitled.mld"),
            tonekit::mldtest::laterMld(2, 2, sjis("新しい題"), {extra}));

  // A file of the first versions clears it all again.
  load(sample("kirakira.mld"));
  EXPECT_FALSE(button("cmdOtherChunks")->isEnabled());
  EXPECT_EQ(get<QLabel>("lblAudioChunks")->text() + get<QLabel>("lblMajorRaw")->text(), "");
  EXPECT_TRUE(option("optMajor0")->isChecked());
}

TEST_F(MainWindow, OpenDialogOnlyFillsThePath) {
  const fs::path path = sample("kirakira.mld");
  scripted.openAnswers.push_back(q(path));
  button("cmdFileDialog")->click();
  ASSERT_EQ(scripted.openCalls.size(), 1u);
  const FileDialogOptions& o = scripted.openCalls[0];
  EXPECT_EQ(o.title, u("読み込みMLDファイル選択"));
  EXPECT_EQ(o.filter, u("iメロディファイル (*.mld)|*.mld|SMFファイル（*.mid)|*.mid"));
  // No document in hand and the dialog never used: the home folder.
  EXPECT_EQ(o.startFolder, QDir::homePath());
  EXPECT_EQ(o.defaultSuffix, "mld");
  EXPECT_TRUE(o.existingOnly);
  EXPECT_EQ(text("txtPath")->text(), q(path));
  EXPECT_EQ(window.document(), nullptr);  // nothing read until "解析"

  menu("mnuFileOpen")->trigger();  // cancelled
  EXPECT_EQ(scripted.openCalls.size(), 2u);
  EXPECT_EQ(text("txtPath")->text(), q(path));
}

TEST_F(MainWindow, SaveWritesCheckedRowsIncludingHiddenOnes) {
  const fs::path source = sample("kaeru.mld");
  const clsMLD before = readBack(source);
  load(source);

  // In the expert layout: drop "prot", set the source to download without copyright.
  button("cmdActionChange")->click();
  check("chkProt")->click();
  EXPECT_FALSE(text("txtProt")->isEnabled());
  option("optSorcIn0")->click();
  option("optSorcPat0")->click();
  // Back in the normal layout: drop the title; the hidden rows are saved as they stand.
  button("cmdActionChange")->click();
  check("chkTitl")->click();

  const fs::path target = dir / "saved.mld";
  saveAs(target);
  ASSERT_EQ(scripted.saveCalls.size(), 1u);
  const FileDialogOptions& o = scripted.saveCalls[0];
  EXPECT_EQ(o.title, u("保存先ファイル選択"));
  EXPECT_EQ(o.filter, u("iメロディファイル (*.mld)|*.mld"));
  // Beside the document in hand.
  EXPECT_EQ(o.startFolder, q(fs::path(TONEKIT_SAMPLES_DIR)));
  EXPECT_EQ(o.defaultSuffix, "mld");
  EXPECT_TRUE(o.confirmOverwrite);
  EXPECT_TRUE(scripted.messages.empty()) << scripted.messageTexts().join(" | ").toStdString();
  EXPECT_EQ(window.document()->MLDFile, target.string());
  EXPECT_EQ(text("txtPath")->text(), q(source));

  const clsMLD after = readBack(target);
  EXPECT_FALSE(after.MLDTitlEnabled);
  EXPECT_FALSE(after.MLDProtEnabled);
  EXPECT_EQ(after.MLDSorc, ByteString{0x00});
  EXPECT_EQ(after.MLDNote, (ByteString{0x00, 0x01}));
  for (const char* tag : {"vers", "date", "copy", "exst"}) {
    EXPECT_TRUE(after.enabled(tag)) << tag;
    EXPECT_EQ(after.value(tag), before.value(tag)) << tag;
  }
  EXPECT_EQ(after.MLDTracData->items(), before.MLDTracData->items());

  // Reopening the saved file shows exactly that.
  load(target);
  EXPECT_FALSE(check("chkTitl")->isChecked());
  EXPECT_EQ(text("txtTitl")->text(), u("曲タイトル"));
  EXPECT_FALSE(check("chkProt")->isChecked());
  EXPECT_TRUE(option("optSorcIn0")->isChecked());
  EXPECT_TRUE(option("optSorcPat0")->isChecked());
}

TEST_F(MainWindow, CheckedRowsWithoutChunksWriteTheirControls) {
  load(write("none.mld", mld({})));
  check("chkTitl")->click();
  button("cmdActionChange")->click();
  check("chkSorc")->click();
  option("optSorcIn2")->click();
  option("optSorcPat1")->click();
  check("chkNote")->click();
  option("optNoteLen1")->click();
  check("chkDate")->click();

  const fs::path target = dir / "filled.mld";
  saveAs(target);
  const clsMLD after = readBack(target);
  EXPECT_EQ(after.MLDTitl, sjis("曲タイトル"));
  EXPECT_EQ(after.MLDSorc, ByteString{0x05});
  EXPECT_EQ(after.MLDNote, (ByteString{0x00, 0x01}));
  EXPECT_EQ(after.MLDDate, sjis("データ作成の日付"));
  EXPECT_FALSE(after.MLDCopyEnabled);
}

TEST_F(MainWindow, CancellingTheSaveDialogChangesNothing) {
  const fs::path source = write("keep.mld", mld({chunk("titl", sjis("keep"))}));
  load(source);
  text("txtTitl")->setText("changed");
  button("cmdSave")->click();  // no answer: cancelled
  EXPECT_EQ(scripted.saveCalls.size(), 1u);
  EXPECT_EQ(window.document()->MLDFile, source.string());
  EXPECT_EQ(window.document()->MLDTitl, sjis("keep"));
  EXPECT_EQ(readBack(source).MLDTitl, sjis("keep"));
  EXPECT_TRUE(scripted.messages.empty());
}

TEST_F(MainWindow, LayoutsSwitchSizesAndTheTrackButton) {
  auto* frame = get<QGroupBox>("fraInfomationPart");
  button("cmdActionChange")->click();
  EXPECT_TRUE(window.isExpert());
  EXPECT_EQ(button("cmdActionChange")->text(), "To Normal");
  // The classic height, where the screen holds it.
  EXPECT_EQ(window.height(), std::min(twipsToPixels(10590, &window), window.screen()->availableGeometry().height()));
  EXPECT_EQ(frame->y(), twipsToPixels(4920, &window));
  EXPECT_EQ(frame->height(), twipsToPixels(4815, &window));
  EXPECT_FALSE(get<QGroupBox>("fraFileHead")->isHidden());
  EXPECT_FALSE(check("chkExst")->isHidden());
  EXPECT_FALSE(button("cmdTrac")->isEnabled());  // no file yet

  load(sample("kirakira.mld"));
  EXPECT_TRUE(button("cmdTrac")->isEnabled());  // loading in the expert layout

  menu("mnuShowChange")->trigger();
  EXPECT_FALSE(window.isExpert());
  EXPECT_EQ(button("cmdActionChange")->text(), "To Expert");
  EXPECT_EQ(window.height(), twipsToPixels(3405, &window));
  EXPECT_FALSE(button("cmdTrac")->isEnabled());

  window.SetExpertLayout();
  EXPECT_TRUE(button("cmdTrac")->isEnabled());  // a file is loaded
  // A load that finds no file takes the track button away with the save button, and the menu
  // item with it: it no longer opens the tracks of the file before.
  load(dir / "missing.mld");
  EXPECT_FALSE(button("cmdTrac")->isEnabled());
  EXPECT_FALSE(menu("mnuShowTracData")->isEnabled());
  int opened = 0;
  window.trackViewOpener = [&](frmMain&) { ++opened; };
  menu("mnuShowTracData")->trigger();
  EXPECT_EQ(opened, 0);
}

TEST_F(MainWindow, HeaderOptionsAreNotSaved) {
  const fs::path source = sample("kaeru.mld");
  const ByteString raw = tonekit::test::TempDir::read(source);
  load(source);
  button("cmdActionChange")->click();
  option("optMajor0")->click();
  option("optMiner2")->click();
  option("optTracCount3")->click();
  const fs::path target = dir / "header.mld";
  saveAs(target);
  const ByteString saved = tonekit::test::TempDir::read(target);
  ASSERT_GE(saved.size(), 13u);
  EXPECT_EQ(ByteString(saved.begin() + 10, saved.begin() + 13), ByteString(raw.begin() + 10, raw.begin() + 13));
}

TEST_F(MainWindow, FailingSaveShowsTheSaveErrorReportAndTheWindowGoesOn) {
  const fs::path source = sample("kirakira.mld");
  load(source);
  saveAs(dir / "no folder" / "x.mld");
  ASSERT_EQ(scripted.messages.size(), 2u);
  EXPECT_EQ(scripted.messages[0].text, u("処理でませんでした。"));
  EXPECT_TRUE(scripted.messages[0].title.isEmpty());
  EXPECT_EQ(scripted.messages[0].icon, Icon::Information);
  EXPECT_EQ(scripted.messages[1].title, u("エラー情報"));
  EXPECT_EQ(scripted.messages[1].icon, Icon::Information);
  const QString lead = u("できましたら、バグ退治のために以下の情報を作者に送信してあげてください。\r\n");
  EXPECT_TRUE(scripted.messages[1].text.startsWith(lead)) << scripted.messages[1].text.toStdString();
  EXPECT_TRUE(scripted.messages[1].text.mid(lead.size()).contains(QRegularExpression("^\\d+:[^:]+:.+")));

  // Still usable: the next save goes through.
  const fs::path target = dir / "ok.mld";
  saveAs(target);
  EXPECT_EQ(scripted.messages.size(), 2u);
  EXPECT_EQ(tonekit::test::TempDir::read(target), tonekit::test::TempDir::read(source));
}

TEST_F(MainWindow, ShortNoteValueStopsTheLoadWithTheErrorReport) {
  load(write("shortnote.mld", mld({chunk("titl", sjis("title")), chunk("note", {0x00})})));
  ASSERT_EQ(scripted.messages.size(), 2u);
  EXPECT_EQ(scripted.messages[0].text, u("処理できませんでした。"));
  EXPECT_EQ(scripted.messages[1].title, u("エラー情報"));
  EXPECT_TRUE(scripted.messages[1].text.contains("\r\n9:TONEKIT:"));
  EXPECT_EQ(text("txtTitl")->text(), "title");  // what came before the failure stays
  EXPECT_FALSE(button("cmdSave")->isEnabled());

  // The window still works.
  load(sample("kirakira.mld"));
  EXPECT_TRUE(button("cmdSave")->isEnabled());
  EXPECT_EQ(scripted.messages.size(), 2u);
}

TEST_F(MainWindow, IncompleteReadIsNeverSaved) {
  ByteString bytes = mld({chunk("titl", sjis("before")), chunk("ZZZZ", {1, 2}), chunk("vers", sjis("0100"))});
  const fs::path source = write("unknown-tag.mld", bytes);
  load(source);
  EXPECT_TRUE(scripted.messageTexts().contains(u("処理できないファイルフォーマットのようです。")));
  const std::size_t shown = scripted.messages.size();

  const fs::path target = dir / "lost.mld";
  saveAs(target);
  EXPECT_TRUE(scripted.saveCalls.empty());  // refused before the dialog
  ASSERT_EQ(scripted.messages.size(), shown + 1);
  EXPECT_TRUE(scripted.messages.back().text.contains(u("保存できません")));
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(tonekit::test::TempDir::read(source), bytes);
}

TEST_F(MainWindow, BytesAfterTheDeclaredLengthAreNamedAndDroppedOnlyAfterOk) {
  ByteString bytes = mld({chunk("titl", sjis("tail"))});
  const ByteString declared = bytes;
  bytes.insert(bytes.end(), 18, 0xAB);
  const fs::path source = write("tail.mld", bytes);
  load(source);
  ASSERT_FALSE(scripted.messages.empty());
  EXPECT_TRUE(scripted.messages.back().text.contains(u("18 バイト")));

  const fs::path target = dir / "without-tail.mld";
  scripted.answers.push_back(Answer::Cancel);
  saveAs(target);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(scripted.saveCalls.empty());

  scripted.answers.push_back(Answer::Ok);
  saveAs(target);
  EXPECT_EQ(tonekit::test::TempDir::read(target), declared);
  EXPECT_EQ(tonekit::test::TempDir::read(source), bytes);
}

TEST_F(MainWindow, UntouchedChunksKeepTheirBytesAndEditedOnesAreEncoded) {
  const ByteString oddTitle = {'A', 0xFF, 0x82, 'B'};
  ASSERT_FALSE(tonekit::roundTripsCp932(oddTitle));
  load(write("odd-title.mld", mld({chunk("titl", oddTitle), chunk("vers", sjis("0100"))})));

  button("cmdActionChange")->click();
  text("txtVers")->setText("0200");
  const fs::path first = dir / "first.mld";
  saveAs(first);
  const clsMLD one = readBack(first);
  EXPECT_EQ(one.MLDTitl, oddTitle);
  EXPECT_EQ(one.MLDVers, sjis("0200"));

  text("txtTitl")->setText(u("新しい題名"));
  const fs::path second = dir / "second.mld";
  saveAs(second);
  EXPECT_EQ(readBack(second).MLDTitl, sjis("新しい題名"));
}

TEST_F(MainWindow, SourceByteTheOptionsCannotShowSurvivesASave) {
  load(write("sorc3.mld", mld({chunk("sorc", {0x03})})));
  load(write("sorc7.mld", mld({chunk("sorc", {0x07}), chunk("note", {0x01, 0x01})})));
  EXPECT_TRUE(option("optSorcIn1")->isChecked());  // left from the first file
  const fs::path kept = dir / "kept.mld";
  saveAs(kept);
  EXPECT_EQ(readBack(kept).MLDSorc, ByteString{0x07});
  EXPECT_EQ(readBack(kept).MLDNote, (ByteString{0x01, 0x01}));

  button("cmdActionChange")->click();
  option("optSorcIn0")->click();
  const fs::path chosen = dir / "chosen.mld";
  saveAs(chosen);
  EXPECT_EQ(readBack(chosen).MLDSorc, ByteString{0x01});
}

// Drags as the window system delivers them: an enter event picks the target, the drop follows.
bool dropOn(QWidget* target, const QMimeData& data) {
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

TEST_F(MainWindow, DroppedFilesNameTheFileToLoad) {
  const QString first = q(dir / "first.mld");
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(q(dir / "second.mld"))});
  EXPECT_TRUE(dropOn(&window, files));
  EXPECT_EQ(text("txtPath")->text(), first);
  EXPECT_EQ(window.document(), nullptr);

  // A drop without files is not taken.
  QMimeData words;
  words.setText("just text");
  EXPECT_FALSE(dropOn(&window, words));
  EXPECT_EQ(text("txtPath")->text(), first);

  // Dropped on a text box, enabled or not, a file still names the file to load and leaves the
  // box alone.
  QMimeData third;
  third.setUrls({QUrl::fromLocalFile(q(dir / "third.mld"))});
  EXPECT_TRUE(dropOn(text("txtTitl"), third));
  EXPECT_EQ(text("txtPath")->text(), q(dir / "third.mld"));
  check("chkTitl")->click();
  QMimeData fourth;
  fourth.setUrls({QUrl::fromLocalFile(q(dir / "fourth.mld"))});
  EXPECT_TRUE(dropOn(text("txtTitl"), fourth));
  EXPECT_TRUE(dropOn(text("txtPath"), fourth));
  EXPECT_EQ(text("txtPath")->text(), q(dir / "fourth.mld"));
  EXPECT_EQ(text("txtTitl")->text(), u("曲タイトル"));
}

TEST_F(MainWindow, EscapeAndTheEndMenuCloseTheWindow) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  text("txtPath")->setFocus();
  QTest::keyClick(text("txtPath"), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());

  window.show();
  menu("mnuFileEnd")->trigger();
  EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindow, VersionMenuShowsTheVersionWindowModally) {
  QString shownText;
  bool closedByEscape = false;
  scripted.dialogScripts.push_back([&](QDialog& dialog) {
    dialog.show();
    shownText = dialog.findChild<QPlainTextEdit*>("txtVersionInfo")->toPlainText();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    closedByEscape = !dialog.isVisible();
  });
  menu("mnuHelpVersion")->trigger();
  EXPECT_EQ(scripted.dialogsShown, std::vector<QString>{"frmVersion"});
  EXPECT_TRUE(shownText.startsWith(QString("TONEKIT VERSION %1 MADE BY QAN\n\n").arg(tonekit::kVersionString))) << shownText.toStdString();
  EXPECT_TRUE(closedByEscape);
  EXPECT_TRUE(scripted.messages.empty());
}

TEST_F(MainWindow, OtherWindowsOpenThroughTheirOpeners) {
  int tracks = 0, lists = 0;
  window.trackViewOpener = [&](frmMain& from) {
    EXPECT_EQ(&from, &window);
    ++tracks;
  };
  window.listViewOpener = [&](frmMain&) { ++lists; };
  window.SetExpertLayout();
  load(sample("kirakira.mld"));
  menu("mnuShowTracData")->trigger();
  menu("mnuShowMLDList")->trigger();
  button("cmdListView")->click();
  EXPECT_EQ(tracks, 1);
  EXPECT_EQ(lists, 2);
  EXPECT_TRUE(scripted.messages.empty());
}

TEST_F(MainWindow, TrackMenuDoesNothingBeforeAnyFile) {
  frmMain fresh;
  fresh.show();
  fresh.findChild<QAction*>("mnuShowTracData")->trigger();
  EXPECT_TRUE(scripted.messages.empty());
  EXPECT_TRUE(fresh.isVisible());
}

TEST_F(MainWindow, SavingAsksBeforeCharactersBecomeQuestionMarks) {
  load(write("keep.mld", mld({chunk("titl", sjis("keep"))})));
  text("txtTitl")->setText(u("山﨑髙ⅰ〜😀é😀"));
  scripted.answers.push_back(Answer::Cancel);
  button("cmdSave")->click();
  const ScriptedPlatform::Message& asked = scripted.messages.at(0);
  EXPECT_EQ(asked.icon, Icon::Question);
  EXPECT_EQ(asked.buttons, Buttons::OkCancel);
  EXPECT_TRUE(asked.text.contains(u("「?」に置き換えて保存されます。\r\nTitl: 「😀」 「é」\r\n"))) << asked.text.toStdString();
  EXPECT_TRUE(scripted.saveCalls.empty());

  saveAs(dir / "out.mld");  // OK this time
  EXPECT_EQ(readBack(dir / "out.mld").MLDTitl,
            (ByteString{0x8E, 0x52, 0xFA, 0xB1, 0xFB, 0xFC, 0xFA, 0x40, 0x81, 0x60, '?', '?', '?'}));
}

}  // namespace
