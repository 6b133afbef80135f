// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ui/frmTracSelect.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cfenv>
#include <cmath>
#include <limits>

#include "base/Failure.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

namespace tonekit::ui {

frmTracSelect::frmTracSelect(QWidget* parent) : QDialog(parent) {
  setObjectName("frmTracSelect");
  setWindowTitle("Trac Select");

  cboTracSelect_ = new QComboBox(this);
  cboTracSelect_->setObjectName("cboTracSelect");
  cmdOk_ = new QPushButton("Ok", this);
  cmdOk_->setObjectName("cmdOk");
  cmdOk_->setDefault(true);
  cmdCancel_ = new QPushButton("Cancel", this);
  cmdCancel_->setObjectName("cmdCancel");
  cmdCancel_->setAutoDefault(false);
  connect(cmdOk_, &QPushButton::clicked, this, [this] { guarded(this, [this] { cmdOk_Click(); }); });
  connect(cmdCancel_, &QPushButton::clicked, this, &frmTracSelect::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdOk_);
  buttons->addWidget(cmdCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cboTracSelect_);
  layout->addLayout(buttons);
  resize(twipsToPixelsX(3000, this), sizeHint().height());
}

void frmTracSelect::Load() {
  cboTracSelect_->clear();
  for (int i = 1; i <= MLDTracCount; ++i) cboTracSelect_->addItem(QString::number(i));
  // Track 1 stands chosen, so that Enter, the obvious answer, opens the first track instead of
  // reporting an empty choice.
  cboTracSelect_->setCurrentIndex(cboTracSelect_->count() > 0 ? 0 : -1);
}

void frmTracSelect::cmdOk_Click() {
  bool isNumber = false;
  const double chosen = cboTracSelect_->currentText().trimmed().toDouble(&isNumber);
  if (!isNumber) throw Failure::of(err::TypeMismatch);
  const double track = std::nearbyint(chosen - 1);  // halves to the even neighbour
  if (!(track >= std::numeric_limits<int>::min() && track <= std::numeric_limits<int>::max()))
    throw Failure::of(err::Overflow);
  MLDTracNumber = static_cast<int>(track);
  accept();
}

void frmTracSelect::reject() {
  MLDTracNumber = -1;
  QDialog::reject();
}

}  // namespace tonekit::ui
