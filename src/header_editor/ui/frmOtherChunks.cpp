// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "header_editor/ui/frmOtherChunks.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>

#include "core/clsMLD.h"
#include "header_editor/MldInfo.h"
#include "platform/Twips.h"
#include "core/Translate.h"

namespace tonekit::ui {

namespace {
constexpr int kInnerWidth = 8760;
constexpr int kInnerHeight = 4200;
// A long binary value shows its beginning; the whole of it stays in the file.
constexpr std::size_t kShownBytes = 64;
}  // namespace

QString frmOtherChunks::audioSummary(const clsMLD& doc) {
  const auto sizes = info::audioChunkSizes(doc);
  if (sizes.empty()) return {};
  QStringList each;
  for (std::size_t size : sizes) each << QString::number(size);
  return QString::fromUtf8(TKT("TONEKIT", "adat : %1個 (%2 バイト)")).arg(sizes.size()).arg(each.join(" + "));
}

frmOtherChunks::frmOtherChunks(const clsMLD& doc, QWidget* parent) : QDialog(parent) {
  setObjectName("frmOtherChunks");
  setWindowTitle(QString::fromUtf8(TKT("TONEKIT", "その他のチャンク")));
  setFixedSize(twipsToPixelsX(kInnerWidth, this), twipsToPixels(kInnerHeight, this));

  mfgOtherChunks = new QTableWidget(int(doc.MLDOtherChunks.size()), 4, this);
  mfgOtherChunks->setObjectName("mfgOtherChunks");
  mfgOtherChunks->setHorizontalHeaderLabels(
      {QString::fromUtf8(TKT("TONEKIT", "タグ")), QString::fromUtf8(TKT("TONEKIT", "長さ")), QString::fromUtf8(TKT("TONEKIT", "内容")), QString::fromUtf8(TKT("TONEKIT", "意味"))});
  mfgOtherChunks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  mfgOtherChunks->verticalHeader()->setVisible(false);
  mfgOtherChunks->horizontalHeader()->setStretchLastSection(true);
  placeTwips(mfgOtherChunks, 120, 120, 8520, 3180);
  for (std::size_t i = 0; i < doc.MLDOtherChunks.size(); ++i) {
    const OtherChunk& c = doc.MLDOtherChunks[i];
    QString content;
    if (const auto text = info::otherChunkText(c.value)) {
      content = QString::fromStdString(*text);
    } else {
      const bool cut = c.value.size() > kShownBytes;
      content = QString::fromStdString(toHex(cut ? ByteString(c.value.begin(), c.value.begin() + kShownBytes) : c.value));
      if (cut) content += QString::fromUtf8(TKT("TONEKIT", "…"));
    }
    const QString cells[] = {QString::fromStdString(c.tag), QString::number(c.value.size()), content,
                             QString::fromStdString(info::otherChunkMeaning(c))};
    for (int column = 0; column < 4; ++column)
      mfgOtherChunks->setItem(int(i), column, new QTableWidgetItem(cells[column]));
  }
  mfgOtherChunks->resizeColumnsToContents();

  lblAudioChunks = new QLabel(audioSummary(doc), this);
  lblAudioChunks->setObjectName("lblAudioChunks");
  placeTwips(lblAudioChunks, 120, 3480, 6840, 315);

  cmdClose = new QPushButton(QString::fromUtf8(TKT("TONEKIT", "閉じる")), this);
  cmdClose->setObjectName("cmdClose");
  cmdClose->setDefault(true);
  placeTwips(cmdClose, 7200, 3420, 1440, 495);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tonekit::ui
