// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The note editor, driven as the track window drives it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "ScriptedPlatform.h"
#include "track_editor/ui/frmNoteEdit.h"

using namespace tonekit;
using namespace tonekit::ui;

namespace {

std::unique_ptr<frmNoteEdit> loadedNote(int noteLength, const ByteString& data) {
  auto d = std::make_unique<frmNoteEdit>();
  d->NoteLength = noteLength;
  d->NoteData = data;
  d->Load();
  return d;
}

QLineEdit* noteField(QWidget& d, const char* name) {
  auto* f = d.findChild<QLineEdit*>(name);
  EXPECT_NE(f, nullptr) << name;
  return f;
}

QLabel* caption(QWidget& d, int index) {
  for (auto* l : d.findChildren<QLabel*>("lblCaption"))
    if (l->property("index").toInt() == index) return l;
  ADD_FAILURE() << index;
  return nullptr;
}

int runNote(ScriptedPlatform& sp, frmNoteEdit& d, std::function<void(QDialog&)> script) {
  sp.dialogScripts.push_back(std::move(script));
  return sp.execDialog(d);
}

void pressOk(QDialog& d) { d.findChild<QPushButton*>("cmdOK")->click(); }

}  // namespace

TEST(frmNoteEdit, ShowsAFourByteNoteAndReturnsItUnchanged) {
  ScriptedPlatform sp;
  auto d = loadedNote(4, {0x10, 0x85, 0x30, 0x7A});
  EXPECT_EQ(d->windowTitle(), QString::fromUtf8("ノート編集"));
  EXPECT_EQ(noteField(*d, "txtDerutaTime")->text(), "16");
  EXPECT_EQ(noteField(*d, "txtChanel")->text(), "2");
  EXPECT_EQ(noteField(*d, "txtNote")->text(), "5");
  EXPECT_EQ(noteField(*d, "txtDuration")->text(), "48");
  EXPECT_EQ(noteField(*d, "txtVelocity")->text(), "30");
  EXPECT_EQ(noteField(*d, "txtOctarbShift")->text(), "2");
  EXPECT_FALSE(noteField(*d, "txtVelocity")->isHidden());
  EXPECT_EQ(caption(*d, 5)->text(), QString::fromUtf8("オクターブシフト　："));
  EXPECT_EQ(noteField(*d, "txtDerutaTime")->maxLength(), 3);
  EXPECT_EQ(noteField(*d, "txtChanel")->maxLength(), 1);
  EXPECT_TRUE(d->findChild<QPushButton*>("cmdOK")->isDefault());
  EXPECT_EQ(d->findChild<QPushButton*>("cmdOK")->text(), "Ok");
  EXPECT_EQ(d->findChild<QPushButton*>("cmdCancel")->text(), "Cancel");

  EXPECT_EQ(runNote(sp, *d, pressOk), QDialog::Accepted);
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{0x10, 0x85, 0x30, 0x7A}));
}

TEST(frmNoteEdit, ThreeByteNotesHideVelocityAndShift) {
  ScriptedPlatform sp;
  auto d = loadedNote(3, {0x00, 0x05, 0x30});
  for (const char* name : {"txtVelocity", "txtOctarbShift"}) EXPECT_TRUE(noteField(*d, name)->isHidden());
  EXPECT_TRUE(caption(*d, 4)->isHidden());
  EXPECT_TRUE(caption(*d, 5)->isHidden());
  EXPECT_FALSE(caption(*d, 3)->isHidden());
  runNote(sp, *d, [](QDialog& dlg) {
    noteField(dlg, "txtDerutaTime")->setText("2.5");
    noteField(dlg, "txtDuration")->setText("3.5");
    noteField(dlg, "txtNote")->setText("27");
    pressOk(dlg);
  });
  EXPECT_TRUE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{2, 27, 4}));
}

TEST(frmNoteEdit, RejectsWithTheFirstFieldsMessageAndFocus) {
  ScriptedPlatform sp;
  auto d = loadedNote(4, {0, 0, 0, 0});
  d->show();
  runNote(sp, *d, [](QDialog& dlg) {
    noteField(dlg, "txtChanel")->setText("4");
    noteField(dlg, "txtDerutaTime")->setText("999");
    pressOk(dlg);
  });
  EXPECT_EQ(sp.messageTexts(), QStringList{QString::fromUtf8("0 ～ 3の範囲で入力してください。")});
  EXPECT_EQ(sp.messages[0].icon, Icon::Information);
  EXPECT_EQ(d->focusWidget(), noteField(*d, "txtChanel"));
  EXPECT_FALSE(d->Edit);
  EXPECT_TRUE(d->isVisible());

  sp.messages.clear();
  runNote(sp, *d, [](QDialog& dlg) {
    noteField(dlg, "txtChanel")->setText("0");
    noteField(dlg, "txtDerutaTime")->setText("0");
    noteField(dlg, "txtNote")->setText("63");
    pressOk(dlg);
    noteField(dlg, "txtNote")->setText("");
    pressOk(dlg);
  });
  EXPECT_EQ(sp.messageTexts(), (QStringList{QString::fromUtf8("0 ～ 62の範囲で入力してください。"),
                                            QString::fromUtf8("数値を入力してください。")}));
  EXPECT_EQ(d->focusWidget(), noteField(*d, "txtNote"));
  EXPECT_FALSE(d->Edit);
  EXPECT_EQ(d->NoteData, (ByteString{0, 0, 0, 0}));
}

TEST(frmNoteEdit, NumberTooLargeGoesToTheErrorReport) {
  ScriptedPlatform sp;
  auto d = loadedNote(3, {1, 2, 3});
  d->show();
  runNote(sp, *d, [](QDialog& dlg) {
    noteField(dlg, "txtDuration")->setText("9e9");
    pressOk(dlg);
  });
  ASSERT_EQ(sp.messages.size(), 2u);
  EXPECT_EQ(sp.messages[0].text, QString::fromUtf8("処理できませんでした。"));
  EXPECT_TRUE(sp.messages[1].text.contains("6:TONEKIT:"));
  EXPECT_FALSE(d->Edit);
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->NoteData, (ByteString{1, 2, 3}));
}

TEST(frmNoteEdit, CancelEscAndCloseKeepTheNote) {
  ScriptedPlatform sp;
  const std::function<void(QDialog&)> ways[] = {
      [](QDialog& dlg) { dlg.findChild<QPushButton*>("cmdCancel")->click(); },
      [](QDialog& dlg) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dlg, &esc);
      },
      [](QDialog& dlg) {
        dlg.show();
        dlg.close();
      },
  };
  for (const auto& way : ways) {
    auto d = loadedNote(4, {9, 8, 7, 6});
    noteField(*d, "txtDerutaTime")->setText("100");
    EXPECT_EQ(runNote(sp, *d, way), QDialog::Rejected);
    EXPECT_FALSE(d->Edit);
    EXPECT_EQ(d->NoteData, (ByteString{9, 8, 7, 6}));
  }
}

TEST(frmNoteEdit, ShortRecordsReadAsZeroAndComeBackWhole) {
  ScriptedPlatform sp;
  auto d = loadedNote(4, {0x20});
  EXPECT_EQ(noteField(*d, "txtDuration")->text(), "0");
  EXPECT_EQ(noteField(*d, "txtVelocity")->text(), "0");
  runNote(sp, *d, pressOk);
  EXPECT_EQ(d->NoteData, (ByteString{0x20, 0, 0, 0}));
}
