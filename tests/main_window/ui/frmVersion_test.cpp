// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The version window: its text and how it closes.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "main_window/ui/frmVersion.h"

using tonekit::ui::frmVersion;

namespace {

// The version the build keeps in project(VERSION …), in the window's own words.
const QString kVersionLine = QString("TONEKIT VERSION %1 MADE BY QAN").arg(tonekit::kVersionString);

TEST(VersionWindow, VersionLineThenOneEmptyLineThenTheNotes) {
  const QString text = frmVersion::versionInfoText();
  const QString head = kVersionLine + "\r\n\r\n";
  ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
  const QString notes = text.mid(head.size());
  EXPECT_FALSE(notes.isEmpty());
  EXPECT_FALSE(notes.startsWith("\r") || notes.startsWith("\n"));
  EXPECT_EQ(notes, frmVersion::notesText());
  // Every line break of the notes is CR LF, as in the version line.
  EXPECT_EQ(notes.count("\n"), notes.count("\r\n"));
  EXPECT_TRUE(notes.contains(QString::fromUtf8("バージョン情報")));

  frmVersion window;
  auto* box = window.findChild<QPlainTextEdit*>("txtVersionInfo");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isReadOnly());
  const QStringList lines = box->toPlainText().split('\n');
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0].trimmed(), kVersionLine);
  EXPECT_TRUE(lines[1].trimmed().isEmpty());
  EXPECT_FALSE(lines[2].trimmed().isEmpty());
}

TEST(VersionWindow, EscapeAndTheButtonClose) {
  for (const bool useEscape : {true, false}) {
    frmVersion window;
    auto* ok = window.findChild<QPushButton*>("cmdClose");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QString::fromUtf8("了解"));
    EXPECT_FALSE(ok->icon().isNull());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.isVisible());
    if (useEscape)
      QTest::keyClick(&window, Qt::Key_Escape);
    else
      ok->click();
    EXPECT_FALSE(window.isVisible()) << (useEscape ? "Esc" : "button");
  }
}

}  // namespace
