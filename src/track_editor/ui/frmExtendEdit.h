// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The extend-status editor: edits one extend-status event (tempo, volume, loop point, …).
// The caller sets NoteData, calls Load(), shows the dialog through the platform and reads Edit
// and NoteData back; NoteData changes only when Edit is true.

#include <QDialog>
#include <memory>

#include "base/ByteString.h"

namespace tonekit::ui {

class frmExtendEdit : public QDialog {
  Q_OBJECT
 public:
  explicit frmExtendEdit(QWidget* parent = nullptr);
  ~frmExtendEdit() override;

  // Fills the panel of the event's kind from NoteData.
  void Load();

  tonekit::ByteString NoteData;
  bool Edit = false;

 private:
  struct Controls;
  std::unique_ptr<Controls> ui_;

  void layOut();
  void mnuExtendOption_Click(int item);
  void cmdOk_Click();
  void cmdCancel_Click();
};

}  // namespace tonekit::ui
