// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The track selection dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "ScriptedPlatform.h"
#include "track_editor/ui/frmTracSelect.h"

using namespace tonekit::ui;

namespace {

QStringList entriesOf(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

int runWith(ScriptedPlatform& platform, frmTracSelect& dialog, std::function<void(QDialog&)> script) {
  platform.dialogScripts.push_back(std::move(script));
  return platform.execDialog(dialog);
}

}  // namespace

TEST(frmTracSelect, OffersEveryTrackAndReturnsTheChosenOneFromZero) {
  ScriptedPlatform platform;
  frmTracSelect dialog;
  EXPECT_EQ(dialog.MLDTracNumber, 0);
  dialog.MLDTracCount = 3;
  dialog.Load();
  EXPECT_EQ(dialog.windowTitle(), "Trac Select");
  auto* box = dialog.findChild<QComboBox*>("cboTracSelect");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(entriesOf(box), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(box->currentText(), "1");
  EXPECT_EQ(dialog.findChild<QPushButton*>("cmdOk")->text(), "Ok");
  EXPECT_TRUE(dialog.findChild<QPushButton*>("cmdOk")->isDefault());
  EXPECT_EQ(dialog.findChild<QPushButton*>("cmdCancel")->text(), "Cancel");

  const int result = runWith(platform, dialog, [box](QDialog& d) {
    box->setCurrentIndex(2);
    d.findChild<QPushButton*>("cmdOk")->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(dialog.MLDTracNumber, 2);
}

TEST(frmTracSelect, CancelEscAndTheCloseBoxChooseNothing) {
  ScriptedPlatform platform;
  const std::function<void(QDialog&)> ways[] = {
      [](QDialog& d) { d.findChild<QPushButton*>("cmdCancel")->click(); },
      [](QDialog& d) {
        d.show();
        d.close();
      },
      [](QDialog& d) {
        d.show();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&d, &esc);
      }};
  for (const auto& way : ways) {
    frmTracSelect dialog;
    dialog.MLDTracCount = 2;
    dialog.Load();
    EXPECT_EQ(runWith(platform, dialog, way), QDialog::Rejected);
    EXPECT_EQ(dialog.MLDTracNumber, -1);
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_TRUE(platform.messages.empty());
}

// Track 1 stands chosen, so Enter, the obvious answer, opens the first track.
TEST(frmTracSelect, EnterAtOnceOpensTheFirstTrack) {
  ScriptedPlatform platform;
  frmTracSelect dialog;
  dialog.MLDTracCount = 2;
  dialog.Load();
  const int result = runWith(platform, dialog, [](QDialog& d) {
    d.show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(d.findChild<QComboBox*>("cboTracSelect"), &enter);
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(dialog.MLDTracNumber, 0);
  EXPECT_TRUE(platform.messages.empty());
}

TEST(frmTracSelect, OkWithoutAChoiceIsReportedAndTheDialogStays) {
  ScriptedPlatform platform;
  frmTracSelect dialog;
  dialog.MLDTracCount = 2;
  dialog.Load();
  bool visibleAfterOk = false;
  runWith(platform, dialog, [&](QDialog& d) {
    d.show();
    d.findChild<QComboBox*>("cboTracSelect")->setCurrentIndex(-1);
    d.findChild<QPushButton*>("cmdOk")->click();
    visibleAfterOk = d.isVisible();
    d.hide();
  });
  EXPECT_TRUE(visibleAfterOk);
  EXPECT_EQ(dialog.MLDTracNumber, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[0].text, "処理できませんでした。");
  EXPECT_TRUE(platform.messages[1].text.contains("13:TONEKIT:"));
}
