// The file dialogs' filters and what the program remembers between runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

#include "platform/Platform.h"
#include "platform/Settings.h"

using namespace tonekit::ui;

TEST(FileDialogs, FiltersShowTheirTextOnceAndMatchBothCases) {
  // A description whose own "(…)" uses a full-width parenthesis is still shown as it is.
  EXPECT_EQ(qtNameFilters(QString::fromUtf8("iメロディファイル (*.mld)|*.mld|SMFファイル（*.mid)|*.mid")),
            QString::fromUtf8("iメロディファイル (*.mld) (*.mld *.MLD);;SMFファイル（*.mid) (*.mid *.MID)"));
}

TEST(Settings, LiveInTheUsersConfigurationFolderAndIgnoreLostScreens) {
  EXPECT_EQ(QFileInfo(settings::store().fileName()).absolutePath(),
            QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).absoluteFilePath("tonekit"));

  QWidget window;
  window.setObjectName("somewhere");
  window.move(40, 50);
  settings::rememberPlace(window);
  window.move(0, 0);
  settings::restorePlace(window);
  EXPECT_EQ(window.pos(), QPoint(40, 50));
  // A place no screen shows any more is not taken.
  settings::store().setValue("places/somewhere", QPoint(-100000, -100000));
  settings::restorePlace(window);
  EXPECT_EQ(window.pos(), QPoint(40, 50));
}
