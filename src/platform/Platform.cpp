// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "platform/Platform.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVariant>
#include <QStringList>
#include <QWidget>
#include <exception>
#include <thread>

#include "base/CodePage.h"
#include "base/SafeFile.h"
#include "base/modCommon.h"
#include "platform/QtPlatform.h"
#include "platform/Settings.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {
Platform* current = nullptr;
}

Platform& platform() {
  if (!current) {
    static QtPlatform fallback;
    current = &fallback;
  }
  return *current;
}

void setPlatform(Platform* p) { current = p; }

QString qtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  // Captions that end in their own "(patterns)" are filters Qt reads as they stand: given alone,
  // every dialog shows them once, native ones included, which show what they are given; and
  // Qt's own dialog matches their patterns whatever the case of the names.
  static const QRegularExpression ownPatterns(QStringLiteral("^.*\\(([^()]*)\\)$"));
  QStringList captions;
  bool allCarryTheirOwn = parts.size() > 1;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    captions << parts[i];
    const QRegularExpressionMatch own = ownPatterns.match(parts[i]);
    if (!own.hasMatch() || own.captured(1).split(' ', Qt::SkipEmptyParts) != parts[i + 1].split(';', Qt::SkipEmptyParts))
      allCarryTheirOwn = false;
  }
  if (allCarryTheirOwn) return captions.join(";;");
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    // Names on this system are case-sensitive: "*.mld" matches "X.MLD" only through its capital
    // twin. The dialogs hide the patterns, so the description is shown exactly as given.
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      patterns << pattern.trimmed();
      if (pattern.trimmed().toUpper() != pattern.trimmed()) patterns << pattern.trimmed().toUpper();
    }
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters.join(";;");
}

bool confirmUnencodable(QWidget* parent, const QList<QPair<QString, QString>>& labelledTexts) {
  QStringList lines;
  for (const auto& [label, text] : labelledTexts) {
    const std::u32string missing = unencodableCp932(text.toStdString());
    if (missing.empty()) continue;
    QStringList shown;
    for (const char32_t c : missing) shown << QString::fromUtf8(TKT("TONEKIT", "「")) + QString::fromUcs4(&c, 1) + QString::fromUtf8(TKT("TONEKIT", "」"));
    lines << label + ": " + shown.join(' ');
  }
  if (lines.isEmpty()) return true;
  const QString question =
      QString::fromUtf8(TKT("TONEKIT", "次の文字はシフトJIS（コードページ932）にないため、「?」に置き換えて保存されます。\r\n")) +
      lines.join("\r\n") + QString::fromUtf8(TKT("TONEKIT", "\r\nよろしいですか？"));
  return platform().message(parent, question, Icon::Question, Buttons::OkCancel) == Answer::Ok;
}

void PlatformMessages::message(const std::string& text, MessageIcon icon) {
  platform().message(parent_, QString::fromStdString(text), icon);
}

std::filesystem::path toFsPath(const QString& path) { return std::filesystem::path(toNativePath(path)); }
std::string toNativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromFsPath(const std::filesystem::path& path) { return QFile::decodeName(path.c_str()); }

QString dialogStartFolder(const QString& dialogKey, const QString& documentPath) {
  if (!documentPath.isEmpty()) {
    const QString folder = QFileInfo(documentPath).absolutePath();
    if (QFileInfo(folder).isDir()) return folder;
  }
  const QString last = settings::lastFolder(dialogKey);
  return last.isEmpty() ? QDir::homePath() : last;
}

FileDialogOptions fileDialogOptions(const QString& title, const QString& filter, const QString& defaultSuffix,
                                    const QString& dialogKey, const QString& documentPath) {
  FileDialogOptions options;
  options.title = title;
  options.filter = filter;
  options.startFolder = dialogStartFolder(dialogKey, documentPath);
  options.defaultSuffix = defaultSuffix;
  options.dialogKey = dialogKey;
  if (!documentPath.isEmpty() && !defaultSuffix.isEmpty())
    options.proposedName = QFileInfo(documentPath).completeBaseName() + '.' + defaultSuffix;
  return options;
}

std::optional<QString> askOpenFile(QWidget* parent, const FileDialogOptions& options) {
  auto chosen = platform().openFile(parent, options);
  if (chosen) settings::rememberChoice(options.dialogKey, *chosen, false);
  return chosen;
}

std::optional<QString> askSaveFile(QWidget* parent, FileDialogOptions options, bool confirmOverwrite) {
  options.confirmOverwrite = confirmOverwrite;
  try {
    auto chosen = platform().saveFile(parent, options);
    if (chosen) settings::rememberChoice(options.dialogKey, *chosen, false);
    return chosen;
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<QString> askFolder(QWidget* parent, const QString& title, const QString& dialogKey,
                                 const QString& documentPath) {
  auto chosen = platform().chooseFolder(parent, title, dialogStartFolder(dialogKey, documentPath));
  if (chosen) settings::rememberChoice(dialogKey, *chosen, true);
  return chosen;
}

Answer askToSaveChanges(QWidget* parent, const QString& text) {
  return platform().message(parent, text, Icon::Question, Buttons::SaveDiscardCancel);
}

namespace {
constexpr const char* kPlaceProperty = "tonekitPlace";
constexpr const char* kStateProperty = "tonekitState";
}

void standAside(QWidget* window) {
  if (!window) return;
  // The inner geometry, not the frame's position: a window manager that adds its frame again on
  // the way back would otherwise move the window down by the title bar's height each time.
  window->setProperty(kPlaceProperty, window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry());
  window->setProperty(kStateProperty, static_cast<int>(window->windowState()));
  window->hide();
}

void bringBack(const QPointer<QWidget>& window) {
  if (!window) return;
  const QVariant place = window->property(kPlaceProperty);
  const Qt::WindowStates state(window->property(kStateProperty).toInt());
  if (place.isValid()) window->setGeometry(place.toRect());
  if (state & Qt::WindowMaximized)
    window->showMaximized();
  else if (state & Qt::WindowFullScreen)
    window->showFullScreen();
  else
    window->show();
}

void runBesideWindows(const std::function<void()>& work, const std::function<void()>& tick) {
  std::exception_ptr failure;
  QEventLoop loop;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  QTimer ticker;
  if (tick) QObject::connect(&ticker, &QTimer::timeout, &loop, tick);
  ticker.start(50);
  loop.exec();
  worker.join();
  if (tick) tick();
  if (failure) std::rethrow_exception(failure);
}

void showErrorReport(QWidget* parent, const Failure& failure, bool saveVariant) {
  const ErrorReport report = makeErrorReport(failure, saveVariant);
  platform().message(parent, QString::fromStdString(report.firstText), Icon::Information);
  platform().message(parent, QString::fromStdString(report.secondText), Icon::Information, Buttons::Ok,
                     QString::fromStdString(report.secondTitle));
}

bool guarded(QWidget* parent, const std::function<void()>& body, bool saveVariant) {
  try {
    body();
    return true;
  } catch (const RefusedLink& refused) {
    // A link the rule refuses is the file system's answer, not a fault to report to the author.
    platform().message(parent, QString::fromStdString(refused.description()), Icon::Warning);
  } catch (const std::exception&) {
    showErrorReport(parent, currentFailure(), saveVariant);
  }
  return false;
}

}  // namespace tonekit::ui
