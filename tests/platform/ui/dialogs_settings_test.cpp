// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The file dialogs' filters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/Platform.h"
#include "platform/QtPlatform.h"

using namespace tonekit::ui;

TEST(FileDialogs, FiltersShowTheirTextOnceAndMatchBothCases) {
  // A description whose own "(…)" uses a full-width parenthesis is still shown as it is.
  EXPECT_EQ(qtNameFilters(QString::fromUtf8("iメロディファイル (*.mld)|*.mld|SMFファイル（*.mid)|*.mid")),
            QString::fromUtf8("iメロディファイル (*.mld) (*.mld *.MLD);;SMFファイル（*.mid) (*.mid *.MID)"));
  // The save dialog's caption carries its own patterns: shown once, as it is.
  EXPECT_EQ(qtNameFilters(QString::fromUtf8("iメロディファイル (*.mld)|*.mld")), QString::fromUtf8("iメロディファイル (*.mld)"));
}

TEST(FileDialogs, SaveDialogShowsTheCaptionAndListsCapitalNames) {
  QTemporaryDir dir;
  QFile(dir.filePath("A.MLD")).open(QIODevice::WriteOnly);
  FileDialogOptions options;
  options.filter = QString::fromUtf8("iメロディファイル (*.mld)|*.mld");
  options.startFolder = dir.path();
  QString shown;
  QStringList names, handed;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* list = dialog->findChild<QListView*>("listView");
    if (!list || list->model()->rowCount(list->rootIndex()) == 0) return;
    shown = dialog->findChild<QComboBox*>("fileTypeCombo")->currentText();
    // What a native dialog is handed and shows as it stands.
    handed = dialog->nameFilters();
    names << list->model()->index(0, 0, list->rootIndex()).data().toString();
    dialog->reject();
  });
  poll.start(20);
  QTimer::singleShot(5000, [] {
    if (QApplication::activeModalWidget()) QApplication::activeModalWidget()->close();
  });
  tonekit::ui::QtPlatform().saveFile(nullptr, options);
  EXPECT_EQ(shown, QString::fromUtf8("iメロディファイル (*.mld)"));
  EXPECT_EQ(handed, QStringList{QString::fromUtf8("iメロディファイル (*.mld)")});
  EXPECT_EQ(names, QStringList{"A.MLD"});
}
