// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The note editor: edits one note event (3- or 4-byte form) of a track.
// The caller sets NoteLength and NoteData, calls Load(), shows the dialog through the platform
// and reads Edit and NoteData back; NoteData changes only when Edit is true.

#include <QDialog>
#include <memory>

#include "base/ByteString.h"

namespace tonekit::ui {

class frmNoteEdit : public QDialog {
  Q_OBJECT
 public:
  explicit frmNoteEdit(QWidget* parent = nullptr);
  ~frmNoteEdit() override;

  // Fills the controls from NoteLength and NoteData.
  void Load();

  int NoteLength = 3;
  tonekit::ByteString NoteData;
  bool Edit = false;

 private:
  struct Controls;
  std::unique_ptr<Controls> ui_;

  void cmdOk_Click();
  void cmdCancel_Click();
};

}  // namespace tonekit::ui
