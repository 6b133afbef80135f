// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The list item editor on its own: what it shows and what it gives back.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScriptedPlatform.h"
#include "base/CodePage.h"
#include "file_list/ui/frmListEdit.h"

namespace tonekit::ui {
namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

struct Editor {
  frmListEdit dialog;
  QLineEdit* title() { return dialog.findChild<QLineEdit*>("txtTitle"); }
  Editor(const std::string& path, const ByteString& title) {
    dialog.MLDPath = path;
    dialog.MLDTitle = title;
    dialog.Load();
  }
};

TEST(ListItemEditor, ShowsPathAndTitle) {
  Editor e("/songs/かえる.mld", encodeCp932("ｶｴﾙ 合唱").bytes);
  EXPECT_EQ(e.dialog.windowTitle(), qs("項目編集"));
  EXPECT_EQ(e.title()->text(), qs("ｶｴﾙ 合唱"));
  auto* path = e.dialog.findChild<QLabel*>("lblFilePath");
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->text(), qs("/songs/かえる.mld"));
  QStringList captions;
  for (auto* label : e.dialog.findChildren<QLabel*>("lblCaption")) captions << label->text();
  EXPECT_EQ(captions, QStringList({qs("ファイルのパス　："), qs("タイトル　：")}));
  EXPECT_EQ(e.dialog.findChild<QPushButton*>("cmdOk")->text(), "Ok");
  EXPECT_EQ(e.dialog.findChild<QPushButton*>("cmdCancel")->text(), "Cancel");
  EXPECT_TRUE(e.dialog.findChild<QPushButton*>("cmdOk")->isDefault());
  EXPECT_EQ(e.title()->maxLength(), 32767);  // Qt's own limit: no shorter one
}

TEST(ListItemEditor, OkGivesTheNewTitleAsCodePageBytes) {
  Editor e("/a.mld", encodeCp932("古い").bytes);
  e.title()->setText(qs("新しい, \"題\""));
  e.dialog.findChild<QPushButton*>("cmdOk")->click();
  EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(e.dialog.MLDTitle, encodeCp932("新しい, \"題\"").bytes);

  Editor emptied("/a.mld", encodeCp932("古い").bytes);
  emptied.title()->clear();
  emptied.dialog.findChild<QPushButton*>("cmdOk")->click();
  EXPECT_TRUE(emptied.dialog.MLDTitle.empty());
}

TEST(ListItemEditor, OkAsksBeforeCharactersBecomeQuestionMarks) {
  ScriptedPlatform scripted;
  Editor e("/a.mld", encodeCp932("古い").bytes);
  e.title()->setText(qs("山﨑〜😀"));
  scripted.answers = {Answer::Cancel, Answer::Ok};
  e.dialog.findChild<QPushButton*>("cmdOk")->click();
  EXPECT_TRUE(scripted.messages.at(0).text.contains(qs("タイトル: 「😀」")));
  EXPECT_EQ(e.dialog.result(), 0);  // still open, nothing given back
  EXPECT_EQ(e.dialog.MLDTitle, encodeCp932("古い").bytes);
  e.dialog.findChild<QPushButton*>("cmdOk")->click();
  EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
  EXPECT_EQ(e.dialog.MLDTitle, (ByteString{0x8E, 0x52, 0xFA, 0xB1, 0x81, 0x60, '?'}));
}

TEST(ListItemEditor, OkWithoutChangeKeepsBytesThatAreNoText) {
  // A lead byte without its trail and a byte no character starts with.
  const ByteString odd = {0x41, 0x81, 0xFF, 0x42};
  Editor e("/a.mld", odd);
  e.dialog.findChild<QPushButton*>("cmdOk")->click();
  EXPECT_EQ(e.dialog.MLDTitle, odd);
}

TEST(ListItemEditor, CancelEscAndCloseKeepTheTitle) {
  const ByteString title = encodeCp932("そのまま").bytes;
  {
    Editor e("/a.mld", title);
    e.title()->setText("x");
    e.dialog.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_EQ(e.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(e.dialog.MLDTitle, title);
  }
  {
    Editor e("/a.mld", title);
    e.dialog.show();
    e.title()->setText("x");
    QTest::keyClick(e.title(), Qt::Key_Escape);
    EXPECT_EQ(e.dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(e.dialog.isVisible());
    EXPECT_EQ(e.dialog.MLDTitle, title);
  }
  {
    Editor e("/a.mld", title);
    e.dialog.show();
    e.title()->setText("x");
    e.dialog.close();
    EXPECT_EQ(e.dialog.MLDTitle, title);
  }
  {
    // Enter in the text box is Ok.
    Editor e("/a.mld", title);
    e.dialog.show();
    e.title()->setText("y");
    QTest::keyClick(e.title(), Qt::Key_Return);
    EXPECT_EQ(e.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(e.dialog.MLDTitle, bytesOf("y"));
  }
}

}  // namespace
}  // namespace tonekit::ui
