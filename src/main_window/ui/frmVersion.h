// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The version window: the program's version line and a short guide to its windows.

#include <QDialog>
#include <QString>

#include "tonekit/Version.h"

class QPlainTextEdit;
class QPushButton;

namespace tonekit::ui {

class frmVersion : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kVersionMajor = tonekit::kVersionMajor;
  static constexpr int kVersionMinor = tonekit::kVersionMinor;
  static constexpr int kVersionRevision = tonekit::kVersionPatch;

  explicit frmVersion(QWidget* parent = nullptr);

  // The version line, an empty line and the notes, lines ending in CR LF.
  static QString versionInfoText();
  // The notes kept among the program's resources.
  static QString notesText();

 private:
  QPlainTextEdit* txtVersionInfo = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace tonekit::ui
