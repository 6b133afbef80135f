// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ui/frmWait.h"

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include "platform/Twips.h"
#include "base/Translate.h"

namespace tonekit::ui {

frmWait::frmWait(QWidget* parent) : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("frmWait");
  setWindowTitle(QString::fromUtf8(TKT("TONEKIT", "処理中")));
  // While it shows, the list window (and the main window) are hidden: closing this one must not
  // count as closing the program's last window.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(twipsToPixelsX(3600, this), twipsToPixels(1200, this));

  auto* picture = new QLabel(this);
  picture->setObjectName("picWait");
  const int iconSize = twipsToPixels(480, this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));
  picture->setGeometry(twipsToPixelsX(240, this), twipsToPixels(360, this), iconSize, iconSize);

  auto* label = new QLabel(QString::fromUtf8(TKT("TONEKIT", "処理中")), this);
  label->setObjectName("lblWait");
  QFont big = label->font();
  big.setPointSize(20);
  big.setBold(true);
  label->setFont(big);
  label->setGeometry(twipsToPixelsX(960, this), twipsToPixels(240, this), twipsToPixelsX(2400, this),
                     twipsToPixels(720, this));

  // The progress row goes below the classic window, which grows for it only when it shows.
  lblProgress_ = new QLabel(this);
  lblProgress_->setObjectName("lblProgress");
  lblProgress_->setAlignment(Qt::AlignCenter);
  barProgress_ = new QProgressBar(this);
  barProgress_->setObjectName("barProgress");
  barProgress_->setTextVisible(false);
  cmdCancel_ = new QPushButton(QString::fromUtf8(TKT("TONEKIT", "キャンセル")), this);
  cmdCancel_->setObjectName("cmdCancel");
  const int top = twipsToPixels(1200, this);
  const int row = twipsToPixels(300, this);
  lblProgress_->setGeometry(twipsToPixelsX(120, this), top, twipsToPixelsX(3360, this), row);
  barProgress_->setGeometry(twipsToPixelsX(120, this), top + row, twipsToPixelsX(3360, this), row);
  cmdCancel_->setGeometry(twipsToPixelsX(2040, this), top + 2 * row + twipsToPixels(60, this),
                          twipsToPixelsX(1440, this), twipsToPixels(375, this));
  for (QWidget* w : {static_cast<QWidget*>(lblProgress_), static_cast<QWidget*>(barProgress_),
                     static_cast<QWidget*>(cmdCancel_)})
    w->hide();
  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    cancelled_ = true;
    cmdCancel_->setEnabled(false);
    emit cancelClicked();
  });
}

void frmWait::setProgress(std::size_t done, std::size_t total) {
  if (cmdCancel_->isHidden()) setFixedSize(width(), twipsToPixels(2400, this));
  lblProgress_->show();
  barProgress_->show();
  cmdCancel_->show();
  lblProgress_->setText(QString("%1 / %2").arg(done).arg(total));
  // The bar counts in per mille, so that any number of rows fits its int range.
  barProgress_->setRange(0, 1000);
  barProgress_->setValue(total == 0 ? 0 : static_cast<int>(done * 1000 / total));
}

}  // namespace tonekit::ui
