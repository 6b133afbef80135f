// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Picks the track to show when a file has two or more tracks.

#include <QDialog>
#include <cstdint>

class QComboBox;
class QPushButton;

namespace tonekit::ui {

class frmTracSelect : public QDialog {
  Q_OBJECT
 public:
  explicit frmTracSelect(QWidget* parent = nullptr);

  std::uint8_t MLDTracCount = 0;  // in: how many tracks to offer
  int MLDTracNumber = 0;          // out: the chosen track from 0, or -1 when nothing was chosen

  // Offers "1" … MLDTracCount, "1" chosen.
  void Load();

  // Cancel, Esc and the close box all mean that no track is to be opened.
  void reject() override;

 private:
  void cmdOk_Click();

  QComboBox* cboTracSelect_;
  QPushButton* cmdOk_;
  QPushButton* cmdCancel_;
};

}  // namespace tonekit::ui
