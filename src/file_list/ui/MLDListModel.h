// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What the list window's grid shows: the window's own rows (MLDListItems), one line each, the row
// number in the vertical header, the path and the decoded title in the two columns. The model
// holds no copy; the window tells it when the rows change.

#include <QAbstractTableModel>
#include <QString>
#include <functional>

#include "file_list/clsMLDListItem.h"

namespace tonekit::ui {

class MLDListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kPathColumn = 0;
  static constexpr int kTitleColumn = 1;
  using TitleText = std::function<QString(const ByteString& title)>;

  // items are the window's rows and outlive the model (both belong to the window); titleText
  // turns a title's bytes into what the grid shows.
  MLDListModel(const MLDList& items, TitleText titleText, QObject* parent = nullptr);

  // The rows changed as a whole; the column headers show from the first call on.
  void showRows();
  // The rows are about to change as a whole, and have (the headers stay as they are).
  void beginRowsChange() { beginResetModel(); }
  void endRowsChange() { endResetModel(); }
  // row is 0-based.
  void titleChanged(int row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const MLDList& items_;
  TitleText titleText_;
  bool headersShown_ = false;
};

}  // namespace tonekit::ui
