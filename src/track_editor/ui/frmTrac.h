// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The track view: one track's events in a grid, edited, inserted and deleted one at a time and
// written back into the document's own track collection when the window closes.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "base/ByteString.h"
#include "mld/TrackCollection.h"
#include "mld/EventCodec.h"

namespace tonekit {
class DocumentSession;
}

class QTableView;
class QPushButton;
class QMenu;
class QAction;
class QUndoStack;

namespace tonekit::ui {

class NoteTableModel;

class frmTrac : public QWidget {
  Q_OBJECT
 public:
  explicit frmTrac(QWidget* parent = nullptr);
  ~frmTrac() override;

  // Set by the opener before Load().
  int MLDTracNumber = 0;
  std::shared_ptr<TrackCollection> MLDTracData;  // the document's own collection
  ByteString MLDNote;                            // the "note" chunk's value: the note length
  ByteString MLDCuePoints;                       // the "cuep" chunk's value (later versions)
  ByteString MLDExst;                            // the "exst" chunk's value: extend-status lengths
  // The open document these tracks are the collection of, when there is one: playback then
  // sounds its title, cue points and recorded sound with the track as the grid has it, and the
  // track goes back through it on closing. Without one the collection alone is played.
  DocumentSession* session = nullptr;
  // Shown again whenever this window closes.
  QPointer<QWidget> mainWindow;
  // The document's file name, for the title; empty for a document no file holds yet.
  QString documentName;

  // Cuts the track into events and fills the grid; a failure is reported and leaves the grid
  // without events (closing then leaves the document alone).
  void Load();

  // What the window holds now, for its callers and tests.
  const NoteTableModel& notes() const { return *model_; }
  bool loadFailed() const { return loadFailed_; }
  // Inserts, deletes and edits since the last load, one step each (Ctrl+Z, Ctrl+Y).
  QUndoStack& undoStack() const { return *undo_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LoadTrack(int track);
  void FillGrid();
  void SelectRow(int row);
  void InsertEvent(int row, bool extend);
  void EditEvent(int row);
  void DeleteEvent(int row);
  // An edited event's new bytes, as one undoable step (none when nothing changed).
  void setEventBytes(int row, const ByteString& bytes);
  void StoreTrack(int track);

  int currentRow() const;
  void highlightRow(int row);
  // Edit, insert and delete on the current row, as the popup, double click and keys ask.
  void editCurrent();
  void insertAtCurrent(bool extend);
  void deleteCurrent();
  void cmdReload_Click();
  void showPopup(const QPoint& globalPosition);
  // The popup beside the current row, for the keys that open it.
  void showPopupAtCurrent();
  // "ここから再生" and "停止" at the end of the popup, and the row that follows the music.
  void buildPlaybackEntries();
  void playFromCurrent();
  // Puts a change on the undo stack and makes it: forward and back each change the grid and
  // make the changed row current.
  void pushChange(const QString& text, std::function<void()> forward, std::function<void()> back);

  NoteTableModel* model_;
  QTableView* mfgTrac_;
  QPushButton* cmdClose_;
  QPushButton* cmdReload_;
  QMenu* mnuNoteEdit_;
  QUndoStack* undo_;
  int noteLength_ = 3;
  events::Framing framing_;
  bool loadFailed_ = false;
};

}  // namespace tonekit::ui
