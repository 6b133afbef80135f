// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What the desktop program settles before its first window: its command line and the identity
// the desktop knows it by (names, version, desktop entry, window icon).
//   tonekit [--help] [--version] [FILE]

#include <QString>
#include <QStringList>
#include <optional>

namespace tonekit::app {

// Whether the command line asks for --help or --version, or holds an option that neither the
// program nor Qt knows. Those are answered without a display, so that they work on a console, in
// CI and for help2man, and a wrong option gives its message and exit status 2 rather than Qt's
// abort for want of a display; main then makes a QCoreApplication instead of a QApplication.
bool answersWithoutDisplay(int argc, char** argv);

struct StartRequest {
  // Set when the command line has been answered (help, version, an error): end with this code.
  std::optional<int> exitCode;
  QString file;  // FILE, empty when none was given
};

// Reads the arguments of the running application (Qt's own options such as -platform already
// taken out by QApplication); prints help, version or the error itself.
StartRequest readCommandLine(const QStringList& arguments);

// Application name and version, desktop entry id and the window icon of every window.
void setIdentity();

}  // namespace tonekit::app
