// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "ScriptedPlatform.h"

#include <QCoreApplication>
#include <QStringList>

namespace tonekit::ui {

ScriptedPlatform::ScriptedPlatform() : previous_(&platform()) { setPlatform(this); }

ScriptedPlatform::~ScriptedPlatform() { setPlatform(previous_); }

Answer ScriptedPlatform::message(QWidget*, const QString& text, Icon icon, Buttons buttons, const QString& title) {
  messages.push_back({text, title, icon, buttons});
  if (!answers.empty()) {
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  if (buttons == Buttons::SaveDiscardCancel) return Answer::Discard;
  if (buttons == Buttons::AppendReplaceCancel) return Answer::Append;
  return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

template <typename Queue>
static std::optional<QString> next(Queue& queue) {
  if (queue.empty() || !queue.front()) {
    if (!queue.empty()) queue.pop_front();
    return std::nullopt;
  }
  QString value = *queue.front();
  queue.pop_front();
  return value;
}

std::optional<QString> ScriptedPlatform::openFile(QWidget*, const FileDialogOptions& options) {
  openCalls.push_back(options);
  return next(openAnswers);
}

std::optional<QString> ScriptedPlatform::saveFile(QWidget*, const FileDialogOptions& options) {
  saveCalls.push_back(options);
  if (options.chosenFilter) {
    *options.chosenFilter = saveFilterAnswers.empty() ? 0 : saveFilterAnswers.front();
    if (!saveFilterAnswers.empty()) saveFilterAnswers.pop_front();
  }
  return next(saveAnswers);
}

std::optional<QString> ScriptedPlatform::chooseFolder(QWidget*, const QString& title, const QString& startFolder) {
  folderCalls.push_back(title);
  folderStarts.push_back(startFolder);
  return next(folderAnswers);
}

int ScriptedPlatform::execDialog(QDialog& dialog) {
  dialogsShown.push_back(dialog.objectName());
  if (dialogScripts.empty()) {
    dialog.reject();
    return QDialog::Rejected;
  }
  auto script = std::move(dialogScripts.front());
  dialogScripts.pop_front();
  // Some dialogs fill themselves when shown; let them see a show like the real exec gives.
  dialog.setResult(QDialog::Rejected);
  script(dialog);
  return dialog.result();
}

void ScriptedPlatform::setBusy(bool busy) {
  busyDepth += busy ? 1 : -1;
  if (busy) ++busyCalls;
}

void ScriptedPlatform::processEvents() {
  ++processEventsCalls;
  QCoreApplication::processEvents();
}

QStringList ScriptedPlatform::messageTexts() const {
  QStringList out;
  for (const auto& m : messages) out << m.text;
  return out;
}

}  // namespace tonekit::ui
