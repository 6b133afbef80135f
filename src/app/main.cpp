// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// TONEKIT, the desktop program: the main window, optionally with a file loaded at start.
//   tonekit [--help] [--version] [--lang ja|en] [FILE.mld]
#include <QApplication>
#include <QTimer>

#include "app/Startup.h"
#include "main_window/ui/frmMain.h"
#include "platform/Translations.h"
#include "i18n/Language.h"
#include "main_window/ui/LanguageChoice.h"

int main(int argc, char** argv) {
  if (tonekit::app::answersWithoutDisplay(argc, argv)) {
    QCoreApplication console(argc, argv);
    return tonekit::app::readCommandLine(QCoreApplication::arguments()).exitCode.value_or(0);
  }
  QApplication app(argc, argv);
  tonekit::app::setIdentity();
  tonekit::i18n::useLanguage(tonekit::ui::startLanguage(tonekit::i18n::languageOption(argc, argv).language), &app);
  const tonekit::app::StartRequest request = tonekit::app::readCommandLine(QApplication::arguments());
  if (request.exitCode) return *request.exitCode;

  tonekit::ui::frmMain window;
  window.show();

  if (!request.file.isEmpty()) {
    const QString path = request.file;
    QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });
  }
  return app.exec();
}
