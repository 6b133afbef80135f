// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What the program remembers between runs, in one QSettings file under the user's configuration
// folder (~/.config/tonekit/tonekit.ini): the folder each file dialog used last, the files read
// lately, the windows' places and the main window's layout.

#include <QString>
#include <QStringList>

class QSettings;
class QWidget;

namespace tonekit::ui::settings {

// The program's settings file.
QSettings& store();

// The folder the dialog named key chose from last; empty when never used or gone since.
QString lastFolder(const QString& key);
// chosen is the file or folder the dialog returned.
void rememberChoice(const QString& key, const QString& chosen, bool isFolder);

// The files read lately, newest first, at most kRecentFiles.
inline constexpr int kRecentFiles = 8;
QStringList recentFiles();
void addRecentFile(const QString& path);
void removeRecentFile(const QString& path);
void clearRecentFiles();

// A window's place on the screen, by its objectName. Restoring a place that no screen shows
// any more leaves the window where it is.
void rememberPlace(const QWidget& window);
void restorePlace(QWidget& window);

bool expertLayout();
void setExpertLayout(bool expert);

}  // namespace tonekit::ui::settings
