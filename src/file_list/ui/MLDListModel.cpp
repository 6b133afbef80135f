// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ui/MLDListModel.h"
#include "base/Translate.h"

#include <utility>

namespace tonekit::ui {

namespace {
constexpr Text kPathColumnHeader = TKN("TONEKIT", "ファイルパス");
constexpr Text kTitleColumnHeader = TKN("TONEKIT", "タイトル");
}  // namespace

MLDListModel::MLDListModel(const MLDList& items, TitleText titleText, QObject* parent)
    : QAbstractTableModel(parent), items_(items), titleText_(std::move(titleText)) {}

void MLDListModel::showRows() {
  beginResetModel();
  headersShown_ = true;
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void MLDListModel::titleChanged(int row) {
  if (row < 0 || row >= rowCount()) return;
  const QModelIndex cell = index(row, kTitleColumn);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

int MLDListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int MLDListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant MLDListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const clsMLDListItem& item = items_[static_cast<std::size_t>(index.row())];
  // A path elided in the middle shows whole as the cell's tooltip.
  if (role == Qt::ToolTipRole && index.column() == kPathColumn) return QString::fromStdString(item.MLDPath);
  if (role != Qt::DisplayRole) return {};
  return index.column() == kPathColumn ? QString::fromStdString(item.MLDPath) : titleText_(item.MLDTitle);
}

QVariant MLDListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return headersShown_ ? QVariant(section + 1) : QVariant(QString());
  if (!headersShown_) return QString();
  if (section == kPathColumn) return QString::fromUtf8(kPathColumnHeader.translated());
  if (section == kTitleColumn) return QString::fromUtf8(kTitleColumnHeader.translated());
  return {};
}

}  // namespace tonekit::ui
