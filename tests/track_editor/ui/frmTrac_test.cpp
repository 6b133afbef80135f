// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The track view, offscreen, driven as a user drives it: rows, popup entries, keys, buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include "ScriptedPlatform.h"
#include "TempDir.h"
#include "MldBuilder.h"
#include "mld/clsMLD.h"
#include "session/DocumentSession.h"
#include "track_editor/ui/frmExtendEdit.h"
#include "track_editor/ui/NoteTableModel.h"
#include "track_editor/ui/OpenTrackView.h"
#include "track_editor/ui/frmNoteEdit.h"
#include "track_editor/ui/frmTrac.h"

using namespace tonekit;
using namespace tonekit::ui;

namespace {

const ByteString kEndOfTrack = {0x00, 0xFF, 0xDF, 0x00};
const ByteString kFourByteNote = {0x01, 0x01};  // "note" value giving 4-byte notes

// Ten 3-byte notes with delta k and pitch 10 + k (k = 1 … 9), then EndOfTrack.
ByteString tenEvents() {
  ByteString events;
  for (std::uint8_t k = 1; k <= 9; ++k) events.insert(events.end(), {k, static_cast<std::uint8_t>(10 + k), 0x30});
  events.insert(events.end(), kEndOfTrack.begin(), kEndOfTrack.end());
  return events;
}

struct TrackViewFixture : ::testing::Test {
  ScriptedPlatform platform;
  QWidget mainWindow;
  std::shared_ptr<TrackCollection> tracks = std::make_shared<TrackCollection>();
  std::unique_ptr<frmTrac> view;
  ByteString exst;  // the "exst" value the window gets

  void open(const ByteString& events, const ByteString& note = {}, int track = 0) {
    if (!tracks->contains(TrackCollection::keyFor(static_cast<std::size_t>(track))))
      tracks->add(TrackCollection::keyFor(static_cast<std::size_t>(track)), mldtest::track(events));
    openExisting(note, track);
  }
  void openExisting(const ByteString& note = {}, int track = 0) {
    mainWindow.hide();
    view = std::make_unique<frmTrac>();
    view->MLDTracNumber = track;
    view->MLDTracData = tracks;
    view->MLDNote = note;
    view->MLDExst = exst;
    view->mainWindow = &mainWindow;
    view->Load();
    view->show();
  }

  QTableView* grid() const { return view->findChild<QTableView*>("mfgTrac"); }
  const NoteTableModel& model() const { return view->notes(); }
  QString cell(int row, int column) const { return model().cellText(row, column); }
  int rows() const { return model().rowCount(); }
  int currentRow() const { return grid()->currentIndex().row(); }
  void selectRow(int row) { grid()->setCurrentIndex(model().index(row, 1)); }
  void choose(const char* entry) {
    auto* action = view->findChild<QAction*>(entry);
    ASSERT_NE(action, nullptr) << entry;
    action->trigger();
  }
  // A real double click: the first press makes the row current, the second one doubles it.
  void doubleClick(int row, int column) {
    const QPoint at = grid()->visualRect(model().index(row, column)).center();
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, at);
  }
  void click(const char* button) {
    auto* b = view->findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
  }
  ByteString stored(int track = 0) const { return tracks->item(TrackCollection::keyFor(static_cast<std::size_t>(track))); }
  QStringList rowTexts(int row) const {
    QStringList out;
    for (int c = 0; c < NoteTableModel::kColumns; ++c) out << cell(row, c);
    return out;
  }
};

}  // namespace

TEST_F(TrackViewFixture, ShowsEveryEventNumberedWithTheAppendRowLast) {
  open({0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00});
  EXPECT_EQ(view->windowTitle(), "トラック 1 - TracData");
  EXPECT_EQ(rows(), 3);
  QStringList headers;
  for (int c = 0; c < 8; ++c) headers << model().headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(headers, (QStringList{"イベントNo", "Δタイム", "チャネル", "音程", "音の長さ", "音の強さ", "ｵｸﾀｰﾌﾞｼﾌﾄ", "備考"}));
  EXPECT_EQ(rowTexts(0), (QStringList{"1", "0", "0", "5", "48", "", "", "Note : D  (-2・レ)"}));
  EXPECT_EQ(rowTexts(1), (QStringList{"2", "0", "3", "63", "223", "", "", "Extend : EndOfTrack"}));
  EXPECT_EQ(rowTexts(2), (QStringList{"", "*", "", "", "", "", "", ""}));
  EXPECT_EQ(currentRow(), 0);
  EXPECT_EQ(grid()->selectionModel()->selectedIndexes().size(), 7);
  EXPECT_TRUE(platform.messages.empty());

  // The popup menu and its entries, in order.
  auto* menu = view->findChild<QMenu*>("mnuNoteEdit");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), "ノート編集");
  QStringList entries;
  for (auto* a : menu->actions()) entries << a->objectName() + "=" + a->text();
  EXPECT_EQ(entries, (QStringList{"mnuNoteEditUpdate=ノートを編集", "mnuNoteEditInsert=ノートを挿入",
                                  "mnuNoteEditDelete=ノートを削除", "mnuNoteEditInsertExtend=拡張ステータス情報を挿入",
                                  "=", "mnuNoteEditPlayFrom=ここから再生", "mnuNoteEditPlayStop=停止"}));
  EXPECT_EQ(view->findChild<QPushButton*>("cmdClose")->text(), "閉じる");
  EXPECT_EQ(view->findChild<QPushButton*>("cmdReload")->text(), "元に戻す");
}

TEST_F(TrackViewFixture, ClosingWithoutChangesStoresTheSameChunkAndShowsTheMainWindow) {
  const ByteString events = {0x00, 0xFF, 0xF0, 0x00, 0x02, 0xAA, 0xBB, 0x05, 0x1B, 0x10, 0x00, 0xFF, 0xDF, 0x00, 0x07};
  tracks->add("trac0", mldtest::track(kEndOfTrack));
  open(events, {}, 1);
  EXPECT_EQ(model().noteCount(), 4);  // the trailing byte is a row of its own
  view->close();
  EXPECT_EQ(stored(1), mldtest::track(events));
  EXPECT_EQ(stored(0), mldtest::track(kEndOfTrack));
  EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(TrackViewFixture, InsertBeforeARowAndAtTheAppendRow) {
  open(tenEvents());
  selectRow(2);  // event 3
  choose("mnuNoteEditInsert");
  EXPECT_EQ(model().noteCount(), 11);
  EXPECT_EQ(currentRow(), 2);
  EXPECT_EQ(rowTexts(2), (QStringList{"3", "0", "0", "0", "0", "", "", "Note : A  (-3・ラ)"}));
  EXPECT_EQ(rowTexts(3).mid(0, 2), (QStringList{"4", "3"}));  // the former event 3
  EXPECT_EQ(cell(10, 0), "11");
  EXPECT_EQ(cell(11, 1), "*");

  selectRow(11);  // the append row
  choose("mnuNoteEditInsertExtend");
  EXPECT_EQ(model().noteCount(), 12);
  EXPECT_EQ(rowTexts(11), (QStringList{"12", "0", "3", "63", "224", "", "", "Extend : 音色(2～7Bit目)"}));
  EXPECT_EQ(cell(12, 1), "*");
  EXPECT_EQ(cell(12, 0), "");

  view->close();
  ByteString expected = tenEvents();
  expected.insert(expected.begin() + 6, {0x00, 0x00, 0x00});
  expected.insert(expected.end(), {0x00, 0xFF, 0xE0, 0x00});
  EXPECT_EQ(stored(), mldtest::track(expected));
}

TEST_F(TrackViewFixture, InsertedNotesHaveTheFilesNoteLength) {
  open({0x10, 0x9B, 0x30, 0xFE, 0x00, 0xFF, 0xDF, 0x00}, kFourByteNote);
  EXPECT_EQ(rowTexts(0), (QStringList{"1", "16", "2", "27", "48", "63", "2", "Note : C  (0・ド)"}));
  selectRow(0);
  choose("mnuNoteEditInsert");
  choose("mnuNoteEditInsertExtend");
  EXPECT_EQ(rowTexts(0), (QStringList{"1", "0", "3", "63", "224", "", "", "Extend : 音色(2～7Bit目)"}));
  EXPECT_EQ(rowTexts(1), (QStringList{"2", "0", "0", "0", "0", "0", "0", "Note : A  (-3・ラ)"}));
  view->close();
  EXPECT_EQ(stored(), mldtest::track({0x00, 0xFF, 0xE0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x9B, 0x30, 0xFE, 0x00, 0xFF, 0xDF, 0x00}));
}

TEST_F(TrackViewFixture, DeleteAsksAndRenumbers) {
  open(tenEvents());
  selectRow(4);  // event 5
  platform.answers = {Answer::Cancel};
  choose("mnuNoteEditDelete");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "5を削除します。よろしいですか？");
  EXPECT_EQ(platform.messages[0].icon, Icon::Question);
  EXPECT_EQ(platform.messages[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(model().noteCount(), 10);

  choose("mnuNoteEditDelete");  // Ok
  EXPECT_EQ(model().noteCount(), 9);
  EXPECT_EQ(currentRow(), 4);
  EXPECT_EQ(rowTexts(4).mid(0, 2), (QStringList{"5", "6"}));  // the former event 6
  for (int r = 0; r < 9; ++r) EXPECT_EQ(cell(r, 0), QString::number(r + 1));
  EXPECT_EQ(cell(9, 1), "*");
  EXPECT_EQ(platform.busyDepth, 0);

  view->close();
  ByteString expected = tenEvents();
  expected.erase(expected.begin() + 12, expected.begin() + 15);
  EXPECT_EQ(stored(), mldtest::track(expected));
}

TEST_F(TrackViewFixture, TheAppendRowIsNeitherEditedNorDeleted) {
  open(kEndOfTrack);
  selectRow(1);
  choose("mnuNoteEditUpdate");
  choose("mnuNoteEditDelete");
  doubleClick(1, 1);
  QTest::keyClick(grid(), Qt::Key_Return);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(platform.dialogsShown.empty());
  EXPECT_EQ(model().noteCount(), 1);
}

TEST_F(TrackViewFixture, EditOpensTheEditorOfTheRowsKind) {
  // A note, an extend-status event, and pitch 63 on channel 2 (framed as a 3-byte note).
  open({0x00, 0x1B, 0x10, 0x00, 0xFF, 0xC4, 0x78, 0x01, 0xBF, 0xE2});
  std::vector<std::pair<int, ByteString>> seen;  // note length (0: extend editor), bytes
  auto confirmWith = [&](ByteString result) {
    return [&seen, result](QDialog& d) {
      if (auto* note = qobject_cast<frmNoteEdit*>(&d)) {
        seen.emplace_back(note->NoteLength, note->NoteData);
        note->NoteData = result;
        note->Edit = true;
      } else if (auto* ext = qobject_cast<frmExtendEdit*>(&d)) {
        seen.emplace_back(0, ext->NoteData);
        ext->NoteData = result;
        ext->Edit = true;
      }
      d.accept();
    };
  };
  platform.dialogScripts = {confirmWith({0x05, 0x5D, 0x20}), confirmWith({0x00, 0xFF, 0xC3, 0x64}),
                            confirmWith({0x01, 0xFF, 0xE2, 0x3F})};
  selectRow(0);
  choose("mnuNoteEditUpdate");
  doubleClick(1, 4);
  selectRow(2);
  QTest::keyClick(grid(), Qt::Key_Return);

  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], (std::pair<int, ByteString>{3, {0x00, 0x1B, 0x10}}));
  EXPECT_EQ(seen[1], (std::pair<int, ByteString>{0, {0x00, 0xFF, 0xC4, 0x78}}));
  EXPECT_EQ(seen[2], (std::pair<int, ByteString>{0, {0x01, 0xBF, 0xE2}}));
  EXPECT_EQ(rowTexts(0), (QStringList{"1", "5", "1", "29", "32", "", "", "Note : D  (0・レ)"}));
  EXPECT_EQ(rowTexts(1).last(), "Extend : テンポ 48");
  EXPECT_EQ(rowTexts(2), (QStringList{"3", "1", "3", "63", "226", "", "", "Extend : 音量"}));
  EXPECT_EQ(currentRow(), 2);
  view->close();
  EXPECT_EQ(stored(), mldtest::track({0x05, 0x5D, 0x20, 0x00, 0xFF, 0xC3, 0x64, 0x01, 0xFF, 0xE2, 0x3F}));
}

TEST_F(TrackViewFixture, CancelledEditsAndExtInfoEventsStayAsTheyWere) {
  const ByteString events = {0x00, 0x1B, 0x10, 0x00, 0xFF, 0xF1, 0x00, 0x01, 0x42, 0x00, 0xFF, 0xDF, 0x00};
  open(events);
  // Cancel in the note editor (no script: the dialog is rejected).
  selectRow(0);
  choose("mnuNoteEditUpdate");
  // An editor that claims a change to an ext-info event changes nothing.
  platform.dialogScripts = {[](QDialog& d) {
    auto& ext = dynamic_cast<frmExtendEdit&>(d);
    ext.NoteData = {0x00, 0xFF, 0xDE, 0x00};
    ext.Edit = true;
    d.accept();
  }};
  selectRow(1);
  choose("mnuNoteEditUpdate");
  EXPECT_EQ(platform.dialogsShown.size(), 2u);
  EXPECT_EQ(rowTexts(1).last(), "Extend : ビブラート");
  view->close();
  EXPECT_EQ(stored(), mldtest::track(events));
}

TEST_F(TrackViewFixture, RevertDropsTheChangesAfterConfirmation) {
  open(tenEvents());
  selectRow(0);
  choose("mnuNoteEditInsert");
  choose("mnuNoteEditInsertExtend");
  platform.answers = {Answer::Ok};  // the delete
  selectRow(5);
  choose("mnuNoteEditDelete");
  EXPECT_EQ(model().noteCount(), 11);

  platform.answers = {Answer::Cancel};
  click("cmdReload");
  EXPECT_EQ(model().noteCount(), 11);
  EXPECT_EQ(platform.messages.back().text, "変更箇所はリセットされてしまいます。よろしいですか？");
  EXPECT_EQ(platform.messages.back().buttons, Buttons::OkCancel);

  click("cmdReload");  // Ok
  EXPECT_EQ(model().noteCount(), 10);
  EXPECT_EQ(rowTexts(0).mid(0, 4), (QStringList{"1", "1", "0", "11"}));
  EXPECT_EQ(currentRow(), 0);
  EXPECT_EQ(stored(), mldtest::track(tenEvents()));  // the document never saw the changes
}

TEST_F(TrackViewFixture, ClosingAndOpeningAgainShowsTheEditedTrack) {
  tonekit::test::TempDir dir;
  DocumentSession session;
  session.open(dir.write("one.mld", mldtest::mld({mldtest::chunk("note", kFourByteNote)}, {mldtest::track(kEndOfTrack)})).string());
  const clsMLD& document = session.document();
  mainWindow.show();

  frmTrac* first = openTrackView(&mainWindow, session);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(mainWindow.isVisible());
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(first->testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_TRUE(platform.dialogsShown.empty());
  EXPECT_EQ(platform.busyDepth, 0);
  EXPECT_GE(platform.busyCalls, 1);
  first->findChild<QAction*>("mnuNoteEditInsert")->trigger();
  QPointer<frmTrac> watch(first);
  first->findChild<QPushButton*>("cmdClose")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  EXPECT_TRUE(mainWindow.isVisible());
  EXPECT_EQ(document.MLDTracData->item("trac0"), mldtest::track({0, 0, 0, 0, 0x00, 0xFF, 0xDF, 0x00}));
  EXPECT_TRUE(session.isModified());

  frmTrac* second = openTrackView(&mainWindow, session);
  EXPECT_EQ(second->windowTitle(), "one.mld - トラック 1 - TracData");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->notes().noteCount(), 2);
  EXPECT_EQ(second->notes().cellText(0, 7), "Note : A  (-3・ラ)");
  // Esc closes like "閉じる".
  QApplication::setActiveWindow(second);
  QTest::keyClick(second->findChild<QTableView*>("mfgTrac"), Qt::Key_Escape);
  EXPECT_TRUE(mainWindow.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(TrackViewFixture, OpeningAsksForTheTrackWhenThereAreSeveral) {
  DocumentSession session;
  EXPECT_THROW(openTrackView(&mainWindow, session), Failure);

  tonekit::test::TempDir dir;
  std::vector<ByteString> three;
  for (std::uint8_t i = 0; i < 3; ++i) three.push_back(mldtest::track({i, 0xFF, 0xDF, 0x00}));
  session.open(dir.write("three.mld", mldtest::mld({}, three)).string());
  clsMLD& document = session.document();
  mainWindow.show();

  // Cancel (no script): nothing opens, the main window stays.
  EXPECT_EQ(openTrackView(&mainWindow, session), nullptr);
  EXPECT_EQ(platform.dialogsShown, std::vector<QString>{"frmTracSelect"});
  EXPECT_TRUE(mainWindow.isVisible());

  platform.dialogScripts = {[](QDialog& d) {
    auto* box = d.findChild<QComboBox*>("cboTracSelect");
    box->setCurrentIndex(box->findText("2"));
    d.findChild<QPushButton*>("cmdOk")->click();
  }};
  frmTrac* chosen = openTrackView(&mainWindow, session);
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->MLDTracNumber, 1);
  EXPECT_EQ(chosen->notes().cellText(0, 1), "1");
  chosen->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  // One track, or a count byte of 0: track 0 without asking.
  document.MLDTracCount = {0};
  frmTrac* direct = openTrackView(&mainWindow, session);
  ASSERT_NE(direct, nullptr);
  EXPECT_EQ(direct->MLDTracNumber, 0);
  EXPECT_EQ(platform.dialogsShown.size(), 2u);
  direct->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(TrackViewFixture, PartEventsKeepTheirFramingAndDamagedTracksAreNamed) {
  // The audio voice's start of the later versions ("exst" 1) is five bytes; the note after it
  // stays a note.
  exst = {0x00, 0x01};
  open({0x01, 0x7F, 0x00, 0x00, 0x37, 0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00});
  EXPECT_EQ(rowTexts(0), (QStringList{"1", "1", "1", "63", "0", "", "", "Extend : オーディオ再生開始"}));
  EXPECT_EQ(rowTexts(1), (QStringList{"2", "0", "0", "5", "48", "", "", "Note : D  (-2・レ)"}));
  EXPECT_TRUE(platform.messages.empty());

  // A last note cut off: the window says where when it opens.
  exst = {};
  open({0x00, 0x05, 0x30, 0x00, 0xFF, 0xDF, 0x00, 0x02, 0x05}, {}, 1);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(platform.messages[0].text.contains("イベントの 7 バイト目から")) << platform.messages[0].text.toStdString();
  EXPECT_EQ(platform.messages[0].icon, Icon::Warning);
  EXPECT_EQ(rows(), 4);
}

TEST_F(TrackViewFixture, ClosingAfterAFailedLoadLeavesTheDocumentAlone) {
  tracks->add("trac0", mldtest::track(kEndOfTrack));
  openExisting({}, 2);  // no chunk under trac2
  EXPECT_TRUE(view->loadFailed());
  ASSERT_EQ(platform.messages.size(), 2u);  // the error report
  EXPECT_EQ(platform.messages[0].text, "処理できませんでした。");
  EXPECT_TRUE(platform.messages[1].text.contains("9:TONEKIT:"));
  EXPECT_EQ(model().noteCount(), 0);
  EXPECT_EQ(cell(0, 1), "*");

  choose("mnuNoteEditInsert");
  view->close();
  EXPECT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(tracks->count(), 1u);
  EXPECT_EQ(stored(0), mldtest::track(kEndOfTrack));
  EXPECT_TRUE(mainWindow.isVisible());

  // A chunk without a whole header fails the same way.
  tracks->add("trac1", bytesOf("trac"));
  openExisting({}, 1);
  EXPECT_TRUE(view->loadFailed());
  view->close();
  EXPECT_EQ(stored(1), bytesOf("trac"));
}

TEST_F(TrackViewFixture, FailuresInPopupEntriesAreReportedAndTheWindowStays) {
  open(kEndOfTrack);
  platform.dialogScripts = {[](QDialog&) { throw Failure::of(err::Overflow, "(9e9)"); }};
  selectRow(0);
  choose("mnuNoteEditUpdate");
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "処理できませんでした。");
  EXPECT_TRUE(platform.messages[1].text.contains("6:TONEKIT:"));
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(model().noteCount(), 1);
}

// The popup acts on the row under the pointer; Insert, the Menu key and Shift+F10 work from the
// keyboard; undo and redo stand in a menu with their keys.
TEST_F(TrackViewFixture, PopupAndKeysActOnTheRowTheUserMeans) {
  open(tenEvents());
  selectRow(3);
  auto* menu = view->findChild<QMenu*>("mnuNoteEdit");
  QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, grid()->visualRect(model().index(0, 2)).center());
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(currentRow(), 0);
  menu->hide();
  choose("mnuNoteEditDelete");
  EXPECT_EQ(platform.messageTexts(), QStringList{"1を削除します。よろしいですか？"});

  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  grid()->setFocus();
  selectRow(4);
  const int before = model().noteCount();
  QTest::keyClick(grid(), Qt::Key_Insert);
  EXPECT_EQ(model().noteCount(), before + 1);
  EXPECT_EQ(cell(4, 7), "Note : A  (-3・ラ)");
  EXPECT_TRUE(platform.dialogsShown.empty());
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
    QTest::keyClick(grid(), key, modifiers);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
  }

  QStringList edit;
  for (QAction* a : view->findChild<QMenu*>("mnuEdit")->actions()) edit << a->text() + " " + a->shortcut().toString();
  EXPECT_EQ(edit, (QStringList{"元に戻す 挿入 Ctrl+Z", "やり直し Ctrl+Y"}));
}

TEST_F(TrackViewFixture, ASamplesTrackEditedAndSavedReadsBackWithTheChanges) {
  tonekit::test::TempDir dir;
  DocumentSession session;
  ASSERT_TRUE(session.open(std::string(TONEKIT_SAMPLES_DIR) + "/kaeru.mld"));
  const clsMLD& document = session.document();
  const ByteString before = document.MLDTracData->item("trac1");
  mainWindow.show();
  platform.dialogScripts = {[](QDialog& d) {
    auto* box = d.findChild<QComboBox*>("cboTracSelect");
    box->setCurrentIndex(1);
    d.findChild<QPushButton*>("cmdOk")->click();
  }};
  frmTrac* track = openTrackView(&mainWindow, session);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->windowTitle(), "kaeru.mld - トラック 2 - TracData");
  const int events = track->notes().noteCount();
  EXPECT_EQ(track->notes().cellText(0, 7), "Extend : 音量");
  EXPECT_EQ(track->notes().cellText(events - 1, 7), "Extend : EndOfTrack");
  auto* grid = track->findChild<QTableView*>("mfgTrac");
  grid->setCurrentIndex(grid->model()->index(2, 1));
  track->findChild<QAction*>("mnuNoteEditDelete")->trigger();  // answered Ok
  track->findChild<QAction*>("mnuNoteEditInsertExtend")->trigger();
  track->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  ASSERT_NO_THROW(session.saveAs((dir / "edited.mld").string()));
  clsMLD reread;
  reread.MLDFile = session.file();
  ASSERT_TRUE(reread.ParseMLD());
  ByteString expected = before;
  // Event 3 is the first 4-byte note, behind two 4-byte extend-status events.
  const std::size_t third = 8 + 4 + 4;
  expected.erase(expected.begin() + third, expected.begin() + third + 4);
  expected.insert(expected.begin() + third, {0x00, 0xFF, 0xE0, 0x00});
  EXPECT_EQ(reread.MLDTracData->item("trac1"), expected);
  EXPECT_EQ(reread.MLDTracData->item("trac0"), document.MLDTracData->item("trac0"));
}

TEST_F(TrackViewFixture, DeleteKeyDeletesAndEditsUndoAndRedoOneAtATime) {
  open(tenEvents());
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  grid()->setFocus();
  const auto events = [&] {
    std::vector<ByteString> out;
    for (const clsNote& n : model().notes()) out.push_back(n.getData());
    return out;
  };
  const std::vector<ByteString> original = events();

  // Delete goes through the deletion and its question, never the editor.
  selectRow(2);
  QTest::keyClick(grid(), Qt::Key_Delete);  // Ok
  EXPECT_EQ(platform.messageTexts(), QStringList({"3を削除します。よろしいですか？"}));
  EXPECT_EQ(model().noteCount(), 9);

  selectRow(5);
  choose("mnuNoteEditInsertExtend");
  platform.dialogScripts.push_back([](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("txtDerutaTime")->setText("99");
    dialog.findChild<QPushButton*>("cmdOK")->click();
  });
  selectRow(0);
  choose("mnuNoteEditUpdate");
  EXPECT_EQ(cell(0, 1), "99");

  // Back one step at a time, the changed row current each time; Ctrl+Z opens no editor.
  selectRow(8);
  QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(cell(0, 1), "1");
  EXPECT_EQ(currentRow(), 0);
  QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(model().noteCount(), 9);
  EXPECT_EQ(currentRow(), 5);
  QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(events(), original);
  EXPECT_EQ(currentRow(), 2);
  EXPECT_EQ(platform.dialogsShown.size(), 1u);

  // And forward again, by either redo key.
  QTest::keyClick(grid(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(model().noteCount(), 9);
  QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(model().noteCount(), 10);
  EXPECT_EQ(cell(5, 3), "63");
  EXPECT_EQ(currentRow(), 5);

  // 元に戻す still drops everything; there is nothing left to undo then.
  click("cmdReload");
  EXPECT_EQ(events(), original);
  EXPECT_EQ(view->undoStack().count(), 0);
}
