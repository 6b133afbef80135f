// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The track view's note collection as an item model: record k is row k (its key "note" + k is
// its position, so inserting, deleting and numbering never touch the other records), and one
// more row behind the last record stands for the place behind the last event (the append row).

#include <QAbstractTableModel>
#include <vector>

#include "mld/EventCodec.h"
#include "mld/clsNote.h"

namespace tonekit::ui {

class NoteTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kColumns = 8;
  // Column 0 holds the event number, columns 1 to 7 the event's texts.
  static constexpr int kNumberColumn = 0;
  static constexpr int kFirstTextColumn = 1;
  static constexpr int kLastTextColumn = 7;
  static constexpr int kPitchColumn = 3;

  explicit NoteTableModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Replaces all records (an empty list empties the grid down to the append row).
  void resetNotes(std::vector<clsNote> notes, events::Framing framing);
  // Puts a record before row; at the append row (or behind it) the record goes last.
  void insertNote(int row, clsNote note);
  void removeNote(int row);
  void setNoteData(int row, ByteString bytes);

  const std::vector<clsNote>& notes() const { return notes_; }
  int noteCount() const { return static_cast<int>(notes_.size()); }
  int noteLength() const { return framing_.noteLength; }
  bool isAppendRow(int row) const { return row == noteCount(); }
  bool isNoteRow(int row) const { return row >= 0 && row < noteCount(); }
  // The text of one cell as the grid shows it.
  QString cellText(int row, int column) const;

 private:
  std::vector<clsNote> notes_;
  events::Framing framing_;
};

}  // namespace tonekit::ui
