// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "main_window/ui/frmVersion.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include "platform/Twips.h"
#include "base/Translate.h"

// The notes live in a resource of this static library; without this call the linker would
// leave them out of the program.
static void initMainWindowResources() { Q_INIT_RESOURCE(main_window); }

namespace tonekit::ui {

namespace {
constexpr int kInnerWidth = 7095;
constexpr int kInnerHeight = 4470;
}  // namespace

QString frmVersion::notesText() {
  initMainWindowResources();
  // The translation names the notes in its own language.
  QFile file(QString::fromUtf8(TKT("TONEKIT", ":/main_window/version_notes.txt")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QString text = QString::fromUtf8(file.readAll());
  text.replace("\r\n", "\n");
  while (text.endsWith('\n')) text.chop(1);
  text.replace("\n", "\r\n");
  return text;
}

QString frmVersion::versionInfoText() {
  return QStringLiteral("TONEKIT VERSION %1.%2.%3 MADE BY QAN")
             .arg(kVersionMajor)
             .arg(kVersionMinor)
             .arg(kVersionRevision) +
         "\r\n\r\n" + notesText();
}

frmVersion::frmVersion(QWidget* parent) : QDialog(parent) {
  setObjectName("frmVersion");
  setWindowTitle(QString::fromUtf8(TKT("TONEKIT", "バージョン情報")));
  setFixedSize(twipsToPixelsX(kInnerWidth, this), twipsToPixels(kInnerHeight, this));

  cmdClose = new QPushButton(QString::fromUtf8(TKT("TONEKIT", "了解")), this);
  cmdClose->setObjectName("cmdClose");
  cmdClose->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  cmdClose->setDefault(true);
  placeTwips(cmdClose, 5520, 3720, 1335, 615);

  txtVersionInfo = new QPlainTextEdit(this);
  txtVersionInfo->setObjectName("txtVersionInfo");
  txtVersionInfo->setReadOnly(true);
  txtVersionInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette colours = txtVersionInfo->palette();
  colours.setColor(QPalette::Base, palette().color(QPalette::Window));
  txtVersionInfo->setPalette(colours);
  placeTwips(txtVersionInfo, 240, 240, 6615, 3255);
  txtVersionInfo->setPlainText(versionInfoText());

  setTabOrder(cmdClose, txtVersionInfo);
  cmdClose->setFocus();
  // Esc closes the dialog as QDialog does; the button does the same.
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tonekit::ui
