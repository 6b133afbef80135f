// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The small "processing" window that stands in for the list window while a long command runs.
// While the batch update runs it also shows how far it is ("n / N" and a bar) and offers a
// キャンセル button.

#include <QWidget>
#include <cstddef>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tonekit::ui {

class frmWait : public QWidget {
  Q_OBJECT
 public:
  explicit frmWait(QWidget* parent = nullptr);

  // Shows the count, the bar and the cancel button: done of total rows.
  void setProgress(std::size_t done, std::size_t total);
  bool cancelRequested() const { return cancelled_; }

 signals:
  void cancelClicked();

 private:
  QLabel* lblProgress_ = nullptr;
  QProgressBar* barProgress_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace tonekit::ui
