// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The test double of the platform: answers from a script, logs every call, never blocks.

#include <QDialog>
#include <deque>
#include <functional>
#include <vector>

#include "platform/Platform.h"

namespace tonekit::ui {

class ScriptedPlatform : public Platform {
 public:
  struct Message {
    QString text;
    QString title;  // as passed; empty means the application's name
    Icon icon;
    Buttons buttons;
  };

  // Installs itself as the platform; the previous one comes back on destruction.
  ScriptedPlatform();
  ~ScriptedPlatform() override;

  Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons, const QString& title) override;
  std::optional<QString> openFile(QWidget* parent, const FileDialogOptions& options) override;
  std::optional<QString> saveFile(QWidget* parent, const FileDialogOptions& options) override;
  std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
  int execDialog(QDialog& dialog) override;
  void setBusy(bool busy) override;
  void processEvents() override;

  // Scripted answers, used front first. With none left: messages answer Ok (Yes for YesNo,
  // Discard for the save question, Append for the list file question),
  // file and folder dialogs are cancelled, dialogs are rejected.
  std::deque<Answer> answers;
  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<int> saveFilterAnswers;  // the filter chosen in each save dialog; none left: the first
  std::deque<std::optional<QString>> folderAnswers;
  // Each shown dialog runs the next script (fill its fields, click its buttons) and returns
  // the dialog's result; without a script the dialog is rejected.
  std::deque<std::function<void(QDialog&)>> dialogScripts;

  // What happened.
  std::vector<Message> messages;
  std::vector<FileDialogOptions> openCalls;
  std::vector<FileDialogOptions> saveCalls;
  std::vector<QString> folderCalls;
  std::vector<QString> folderStarts;  // the start folder of each folder dialog
  std::vector<QString> dialogsShown;  // objectName of each dialog
  int busyDepth = 0;
  int busyCalls = 0;
  int processEventsCalls = 0;

  QStringList messageTexts() const;

 private:
  Platform* previous_ = nullptr;
};

}  // namespace tonekit::ui
