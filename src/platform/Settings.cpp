// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "platform/Settings.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace tonekit::ui::settings {

namespace {
const QString kRecentKey = QStringLiteral("recent/files");
const QString kExpertKey = QStringLiteral("main/expertLayout");
QString folderKey(const QString& key) { return "dialogs/" + key; }
QString placeKey(const QWidget& window) { return "places/" + window.objectName(); }
}  // namespace

QSettings& store() {
  // Made on first use, so that the location is taken from the environment as it is then.
  static QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tonekit"),
                            QStringLiteral("tonekit"));
  return settings;
}

QString lastFolder(const QString& key) {
  const QString folder = store().value(folderKey(key)).toString();
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void rememberChoice(const QString& key, const QString& chosen, bool isFolder) {
  if (key.isEmpty() || chosen.isEmpty()) return;
  store().setValue(folderKey(key), isFolder ? chosen : QFileInfo(chosen).absolutePath());
}

QStringList recentFiles() {
  QStringList files = store().value(kRecentKey).toStringList();
  files.removeAll(QString());
  return files.mid(0, kRecentFiles);
}

void addRecentFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList files = recentFiles();
  files.removeAll(full);
  files.prepend(full);
  store().setValue(kRecentKey, files.mid(0, kRecentFiles));
}

void removeRecentFile(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  store().setValue(kRecentKey, files);
}

void clearRecentFiles() { store().remove(kRecentKey); }

void rememberPlace(const QWidget& window) {
  if (!window.objectName().isEmpty()) store().setValue(placeKey(window), window.pos());
}

void restorePlace(QWidget& window) {
  const QVariant saved = store().value(placeKey(window));
  if (!saved.canConvert<QPoint>() || saved.isNull()) return;
  const QPoint place = saved.toPoint();
  // A screen taken away since would leave the window out of reach.
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().contains(place)) {
      window.move(place);
      return;
    }
}

bool expertLayout() { return store().value(kExpertKey, false).toBool(); }

void setExpertLayout(bool expert) { store().setValue(kExpertKey, expert); }

}  // namespace tonekit::ui::settings
