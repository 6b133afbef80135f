// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ui/NoteTableModel.h"

#include <QApplication>
#include <algorithm>
#include <QPalette>

#include "track_editor/TrackRows.h"

namespace tonekit::ui {

NoteTableModel::NoteTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int NoteTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : noteCount() + 1;
}

int NoteTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QString NoteTableModel::cellText(int row, int column) const {
  if (column < 0 || column >= kColumns) return {};
  if (isAppendRow(row)) return column == kFirstTextColumn ? QStringLiteral("*") : QString();
  if (!isNoteRow(row)) return {};
  // Numbers follow from the position, so they are right after every insert and delete.
  if (column == kNumberColumn) return QString::number(row + 1);
  const auto texts = rowTexts(notes_[static_cast<std::size_t>(row)].getData(), framing_);
  return QString::fromStdString(texts[static_cast<std::size_t>(column - 1)]);
}

QVariant NoteTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return cellText(index.row(), index.column());
    case Qt::BackgroundRole:
      // The number column is a fixed column, drawn like the header.
      if (index.column() == kNumberColumn) return QApplication::palette().button();
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == 7) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant NoteTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= kColumns) return {};
    return QString::fromStdString(trackColumnHeaders()[static_cast<std::size_t>(section)]);
  }
  return {};
}

void NoteTableModel::resetNotes(std::vector<clsNote> notes, events::Framing framing) {
  beginResetModel();
  notes_ = std::move(notes);
  framing_ = framing;
  endResetModel();
}

void NoteTableModel::insertNote(int row, clsNote note) {
  row = std::clamp(row, 0, noteCount());
  beginInsertRows({}, row, row);
  notes_.insert(notes_.begin() + row, std::move(note));
  endInsertRows();
  // The rows below got new numbers.
  if (row + 1 < rowCount()) emit dataChanged(index(row + 1, kNumberColumn), index(rowCount() - 1, kNumberColumn));
}

void NoteTableModel::removeNote(int row) {
  if (!isNoteRow(row)) return;
  beginRemoveRows({}, row, row);
  notes_.erase(notes_.begin() + row);
  endRemoveRows();
  if (row < rowCount()) emit dataChanged(index(row, kNumberColumn), index(rowCount() - 1, kNumberColumn));
}

void NoteTableModel::setNoteData(int row, ByteString bytes) {
  if (!isNoteRow(row)) return;
  notes_[static_cast<std::size_t>(row)].setData(std::move(bytes));
  emit dataChanged(index(row, kFirstTextColumn), index(row, kLastTextColumn));
}

}  // namespace tonekit::ui
