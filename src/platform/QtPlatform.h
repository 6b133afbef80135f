// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "platform/Platform.h"

namespace tonekit::ui {

class QtPlatform : public Platform {
 public:
  Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons, const QString& title) override;
  std::optional<QString> openFile(QWidget* parent, const FileDialogOptions& options) override;
  std::optional<QString> saveFile(QWidget* parent, const FileDialogOptions& options) override;
  std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
  int execDialog(QDialog& dialog) override;
  void setBusy(bool busy) override;
  void processEvents() override;
};

}  // namespace tonekit::ui
