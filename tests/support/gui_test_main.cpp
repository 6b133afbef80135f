// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// GoogleTest main for window tests: one QApplication for the whole run, offscreen, with settings
// in a folder of its own that every test starts empty.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/Settings.h"
#include "platform/Translations.h"

namespace {

class FreshSettings : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { tonekit::ui::settings::store().clear(); }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never the user's own settings: a configuration folder that goes with the run.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  // The windows are tested with the texts the program shows.
  tonekit::ui::installJapaneseQtTranslation(app);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
  return RUN_ALL_TESTS();
}
