// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The list window opened from the main window: the main window hides and comes back.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>

#include "ScriptedPlatform.h"
#include "file_list/ui/OpenListView.h"
#include "file_list/ui/frmMLDList.h"

namespace tonekit::ui {
namespace {

frmMLDList* openList() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* list = qobject_cast<frmMLDList*>(w); list && list->isVisible()) return list;
  return nullptr;
}

TEST(OpenListView, HidesTheMainWindowUntilTheListCloses) {
  ScriptedPlatform platform;
  QWidget main;
  main.show();
  openListView(&main);
  QPointer<frmMLDList> list = openList();
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(main.isVisible());

  list->findChild<QAbstractButton*>("cmdClose")->click();
  EXPECT_TRUE(main.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(list.isNull());

  // Every opening makes a new window.
  openListView(&main);
  QPointer<frmMLDList> again = openList();
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(main.isVisible());
  again->close();
  EXPECT_TRUE(main.isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(again.isNull());
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace tonekit::ui
