// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "main_window/ui/frmOtherChunks.h"

#include <QHeaderView>
#include <cmath>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>

#include "mld/clsMLD.h"
#include "mld/MldInfo.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "base/Translate.h"
#include "sound/AdatAudio.h"
#include "sound/ui/Playback.h"

namespace tonekit::ui {

namespace {
constexpr int kInnerWidth = 8760;
constexpr int kInnerHeight = 4200;
// A long binary value shows its beginning; the whole of it stays in the file.
constexpr std::size_t kShownBytes = 64;
// Below the window's own controls, only for a file with audio chunks.
constexpr int kAudioHeight = 2160;
constexpr int kAudioTop = 4020;

QStringList entryCells(std::size_t index, const sound::AdatEntry& e) {
  QString format = QString("0x%1").arg(e.format, 2, 16, QChar('0')).toUpper().replace("0X", "0x");
  if (e.format == sound::kAdatG726) format += QString::fromUtf8(" (ADPCM 2)");
  if (!e.playable())
    return {QString::number(index), format, "", "", "", QString::fromUtf8(TKT("TONEKIT", "再生できません: ")) + QString::fromStdString(*e.problem)};
  return {QString::number(index), format, QString("%1 kHz").arg(e.rateKHz), QString::number(e.bits),
          QString::fromUtf8(e.channels == 2 ? TKT("TONEKIT", "ステレオ") : TKT("TONEKIT", "モノラル")),
          QString::fromUtf8(TKT("TONEKIT", "%1 秒")).arg(std::round(e.seconds() * 1000.0) / 1000.0)};
}
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
  if (doc.MLDAudioChunks.empty()) return;

  setFixedSize(twipsToPixelsX(kInnerWidth, this), twipsToPixels(kInnerHeight + kAudioHeight, this));
  mfgAudioEntries = new QTableWidget(int(doc.MLDAudioChunks.size()), 6, this);
  mfgAudioEntries->setObjectName("mfgAudioEntries");
  mfgAudioEntries->setHorizontalHeaderLabels({QString::fromUtf8(TKT("TONEKIT", "番号")), QString::fromUtf8(TKT("TONEKIT", "形式")), QString::fromUtf8(TKT("TONEKIT", "周波数")),
                                              QString::fromUtf8(TKT("TONEKIT", "ビット")), QString::fromUtf8(TKT("TONEKIT", "チャンネル")),
                                              QString::fromUtf8(TKT("TONEKIT", "長さ"))});
  mfgAudioEntries->setEditTriggers(QAbstractItemView::NoEditTriggers);
  mfgAudioEntries->setSelectionBehavior(QAbstractItemView::SelectRows);
  mfgAudioEntries->setSelectionMode(QAbstractItemView::SingleSelection);
  mfgAudioEntries->verticalHeader()->setVisible(false);
  mfgAudioEntries->horizontalHeader()->setStretchLastSection(true);
  placeTwips(mfgAudioEntries, 120, kAudioTop, 6840, kAudioHeight);
  for (std::size_t i = 0; i < doc.MLDAudioChunks.size(); ++i) {
    const QStringList cells = entryCells(i, sound::parseAdat(doc.MLDAudioChunks[i]));
    for (int column = 0; column < cells.size(); ++column)
      mfgAudioEntries->setItem(int(i), column, new QTableWidgetItem(cells[column]));
  }
  mfgAudioEntries->resizeColumnsToContents();
  mfgAudioEntries->selectRow(0);

  cmdPlayAudio = new QPushButton(QString::fromUtf8(TKT("TONEKIT", "再生")), this);
  cmdPlayAudio->setObjectName("cmdPlayAudio");
  placeTwips(cmdPlayAudio, 7200, kAudioTop, 1440, 495);
  cmdStopAudio = new QPushButton(QString::fromUtf8(TKT("TONEKIT", "停止")), this);
  cmdStopAudio->setObjectName("cmdStopAudio");
  placeTwips(cmdStopAudio, 7200, kAudioTop + 600, 1440, 495);
  const std::vector<ByteString> chunks = doc.MLDAudioChunks;
  connect(cmdPlayAudio, &QPushButton::clicked, this, [this, chunks] {
    const int row = mfgAudioEntries->currentRow();
    if (row < 0) return;
    const sound::AdatEntry entry = sound::parseAdat(chunks[std::size_t(row)]);
    if (!entry.playable()) {
      platform().message(this, QString::fromUtf8(TKT("TONEKIT", "この録音は再生できません (%1)。")).arg(QString::fromStdString(*entry.problem)),
                         Icon::Information);
      return;
    }
    guarded(this, [&] { Playback::instance().play(this, sound::entryAlone(chunks, std::size_t(row))); });
  });
  connect(cmdStopAudio, &QPushButton::clicked, this, [] { Playback::instance().stop(); });
}

}  // namespace tonekit::ui
