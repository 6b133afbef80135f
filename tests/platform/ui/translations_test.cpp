// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Qt's own texts are Japanese, like the program's, whatever the locale the tests run in.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "platform/Translations.h"

TEST(QtTexts, StandardButtonsAndFileDialogsAreJapanese) {
  ASSERT_TRUE(tonekit::ui::installJapaneseQtTranslation(*qApp));
  QMessageBox box(QMessageBox::Question, "TONEKIT", "?", QMessageBox::Ok | QMessageBox::Cancel);
  QFileDialog dialog(nullptr, "TONEKIT");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  QStringList texts{box.button(QMessageBox::Cancel)->text()};
  for (const auto* label : dialog.findChildren<QLabel*>()) texts << label->text();
  for (const auto* button : dialog.findChildren<QPushButton*>()) texts << button->text();
  EXPECT_EQ(texts.join('|'), QString::fromUtf8("キャンセル|アドレス:|ファイル名(&N):|ファイルの種類:|保存(&S)|キャンセル"));
}
