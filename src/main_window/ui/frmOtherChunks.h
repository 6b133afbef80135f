// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The information chunks beyond the eight and the audio chunks of a file of a later format
// version, read only: what the file holds that the main window's rows do not show. A file with
// audio chunks gets a table of their entries below, with a button to hear each.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tonekit {
class clsMLD;
}

namespace tonekit::ui {

class frmOtherChunks : public QDialog {
  Q_OBJECT

 public:
  explicit frmOtherChunks(const clsMLD& doc, QWidget* parent = nullptr);

  // The audio chunks in one line ("adat : 2個 (1008 + 1508 バイト)"); empty without any.
  static QString audioSummary(const clsMLD& doc);

 private:
  QTableWidget* mfgOtherChunks = nullptr;
  QLabel* lblAudioChunks = nullptr;
  QPushButton* cmdClose = nullptr;
  // With audio chunks only: each entry's format, rate, bits, channels and length, and its sound.
  QTableWidget* mfgAudioEntries = nullptr;
  QPushButton* cmdPlayAudio = nullptr;
  QPushButton* cmdStopAudio = nullptr;
};

}  // namespace tonekit::ui
