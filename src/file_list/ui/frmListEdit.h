// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The list item editor: changes the title of one row of the MLD list.
// The caller sets MLDPath and MLDTitle, calls Load(), shows the dialog through the platform and
// reads MLDTitle back; MLDTitle changes only on Ok.

#include <QDialog>
#include <QString>
#include <string>

#include "base/ByteString.h"
#include "mld/MldInfo.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tonekit::ui {

class frmListEdit : public QDialog {
  Q_OBJECT
 public:
  explicit frmListEdit(QWidget* parent = nullptr);

  // Shows MLDPath and the decoded MLDTitle.
  void Load();

  std::string MLDPath;          // UTF-8, shown only
  tonekit::ByteString MLDTitle;  // code page 932 bytes

  void cmdOk_Click();
  void cmdCancel_Click();

 private:
  QLabel* lblFilePath_ = nullptr;
  QLineEdit* txtTitle_ = nullptr;
  QPushButton* cmdOk_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  info::TextChunk loaded_{{}};
};

}  // namespace tonekit::ui
