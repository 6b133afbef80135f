// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "track_editor/ui/frmTrac.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "base/Failure.h"
#include "track_editor/ui/frmExtendEdit.h"
#include "mld/MldInfo.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "platform/Twips.h"
#include "session/DocumentSession.h"
#include "sound/ui/Playback.h"
#include "mld/TrackEvents.h"
#include "track_editor/TrackRows.h"
#include "track_editor/ui/NoteTableModel.h"
#include "track_editor/ui/frmNoteEdit.h"
#include "base/Translate.h"

namespace tonekit::ui {

namespace {

// Designed column widths in twips; the remark column is wide enough for the longest kind name.
constexpr int kColumnTwips[NoteTableModel::kColumns] = {1000, 800, 800, 700, 900, 900, 1100, 2700};

Failure noTrackCollection() {
  return Failure::of(err::ObjectNotSet, "(MLDTracData)");
}

// One change of the grid, both ways.
class GridChange : public QUndoCommand {
 public:
  GridChange(const QString& text, std::function<void()> forward, std::function<void()> back)
      : QUndoCommand(text), forward_(std::move(forward)), back_(std::move(back)) {}
  void redo() override { forward_(); }
  void undo() override { back_(); }

 private:
  std::function<void()> forward_, back_;
};

}  // namespace

frmTrac::frmTrac(QWidget* parent)
    : QWidget(parent, Qt::Window), model_(new NoteTableModel(this)), undo_(new QUndoStack(this)) {
  setObjectName("frmTrac");
  setWindowTitle("TracData");

  mfgTrac_ = new QTableView(this);
  mfgTrac_->setObjectName("mfgTrac");
  mfgTrac_->setModel(model_);
  mfgTrac_->setAccessibleName("TracData");
  mfgTrac_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The user moves the row cursor; the window highlights the current event's columns itself.
  mfgTrac_->setSelectionMode(QAbstractItemView::NoSelection);
  mfgTrac_->setSelectionBehavior(QAbstractItemView::SelectItems);
  mfgTrac_->setTabKeyNavigation(false);
  mfgTrac_->verticalHeader()->hide();
  mfgTrac_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  mfgTrac_->verticalHeader()->setDefaultSectionSize(mfgTrac_->fontMetrics().height() + 6);
  mfgTrac_->horizontalHeader()->setHighlightSections(false);
  mfgTrac_->setWordWrap(false);
  for (int c = 0; c < NoteTableModel::kColumns; ++c) mfgTrac_->setColumnWidth(c, twipsToPixelsX(kColumnTwips[c], this));
  mfgTrac_->installEventFilter(this);
  mfgTrac_->viewport()->installEventFilter(this);
  connect(mfgTrac_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { highlightRow(current.row()); });
  connect(mfgTrac_, &QTableView::doubleClicked, this, [this] { guarded(this, [this] { editCurrent(); }); });

  cmdReload_ = new QPushButton(TKT("TONEKIT", "元に戻す"), this);
  cmdReload_->setObjectName("cmdReload");
  cmdReload_->setAutoDefault(false);
  connect(cmdReload_, &QPushButton::clicked, this, [this] { guarded(this, [this] { cmdReload_Click(); }); });
  cmdClose_ = new QPushButton(TKT("TONEKIT", "閉じる"), this);
  cmdClose_->setObjectName("cmdClose");
  cmdClose_->setAutoDefault(false);
  connect(cmdClose_, &QPushButton::clicked, this, &QWidget::close);
  // "閉じる" is the window's cancel button.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cmdClose_, &QPushButton::click);

  mnuNoteEdit_ = new QMenu(TKT("TONEKIT", "ノート編集"), this);
  mnuNoteEdit_->setObjectName("mnuNoteEdit");
  auto addEntry = [this](const char* name, const char* caption, std::function<void()> action) {
    QAction* entry = mnuNoteEdit_->addAction(caption);
    entry->setObjectName(name);
    connect(entry, &QAction::triggered, this, [this, action] { guarded(this, action); });
  };
  addEntry("mnuNoteEditUpdate", TKT("TONEKIT", "ノートを編集"), [this] { editCurrent(); });
  addEntry("mnuNoteEditInsert", TKT("TONEKIT", "ノートを挿入"), [this] { insertAtCurrent(false); });
  addEntry("mnuNoteEditDelete", TKT("TONEKIT", "ノートを削除"), [this] { deleteCurrent(); });
  addEntry("mnuNoteEditInsertExtend", TKT("TONEKIT", "拡張ステータス情報を挿入"), [this] { insertAtCurrent(true); });
  buildPlaybackEntries();

  // Undo and redo work anywhere in the window, a step at a time; the edit menu shows them with
  // their keys.
  QAction* undo = undo_->createUndoAction(this, QString::fromUtf8(TKT("TONEKIT", "元に戻す")));
  undo->setObjectName("actUndo");
  undo->setShortcuts(QKeySequence::Undo);
  QAction* redo = undo_->createRedoAction(this, QString::fromUtf8(TKT("TONEKIT", "やり直し")));
  redo->setObjectName("actRedo");
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  addActions({undo, redo});
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName("menuBar");
  QMenu* edit = menuBar->addMenu(QString::fromUtf8(TKT("TONEKIT", "編集(&E)")));
  edit->setObjectName("mnuEdit");
  edit->addActions({undo, redo});

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdReload_);
  buttons->addWidget(cmdClose_);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addWidget(mfgTrac_);
  layout->addLayout(buttons);
  resize(twipsToPixelsX(10000, this), twipsToPixels(7000, this));
  settings::restorePlace(*this);
}

frmTrac::~frmTrac() = default;

void frmTrac::Load() {
  const QString track = QString::fromUtf8(TKT("TONEKIT", "トラック %1 - TracData")).arg(MLDTracNumber + 1);
  setWindowTitle(documentName.isEmpty() ? track : documentName + " - " + track);
  loadFailed_ = false;
  // What is undone is relative to the rows of this load.
  undo_->clear();
  noteLength_ = info::noteLengthOf(MLDNote);
  framing_ = {noteLength_, info::exstOf(MLDExst)};
  model_->resetNotes({}, framing_);
  SelectRow(0);
  if (!guarded(this, [this] { LoadTrack(MLDTracNumber); })) loadFailed_ = true;
  FillGrid();
}

void frmTrac::LoadTrack(int track) {
  if (!MLDTracData) throw noTrackCollection();
  if (track < 0) throw Failure::of(err::IndexOutOfRange, "(trac" + std::to_string(track) + ")");
  const ByteString& chunk = MLDTracData->item(TrackCollection::keyFor(static_cast<std::size_t>(track)));
  noteLength_ = info::noteLengthOf(MLDNote);
  framing_ = {noteLength_, info::exstOf(MLDExst)};
  std::vector<clsNote> notes = walkTrack(chunk, framing_);
  const auto damage = damageOf(chunk, notes, framing_);
  model_->resetNotes(std::move(notes), framing_);
  // Rows past the damage show what the bytes there say; playing and exporting leave them out.
  if (damage)
    platform().message(this,
                       TKT("TONEKIT", "このトラックは壊れています。イベントの ") + QString::number(*damage) +
                           TKT("TONEKIT", " バイト目から先が正しく区切れないか、EndOfTrack がありません。区切れない部分は再生と書き出しで省きます。"),
                       Icon::Warning);
}

void frmTrac::FillGrid() {
  mfgTrac_->setColumnWidth(6, twipsToPixelsX(1100, this));
  mfgTrac_->setColumnWidth(7, twipsToPixelsX(2700, this));
  SelectRow(0);
}

int frmTrac::currentRow() const {
  const QModelIndex current = mfgTrac_->currentIndex();
  return current.isValid() ? current.row() : 0;
}

void frmTrac::highlightRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  mfgTrac_->selectionModel()->select(
      QItemSelection(model_->index(row, NoteTableModel::kFirstTextColumn), model_->index(row, NoteTableModel::kLastTextColumn)),
      QItemSelectionModel::ClearAndSelect);
}

void frmTrac::SelectRow(int row) {
  row = std::clamp(row, 0, model_->rowCount() - 1);
  const QModelIndex index = model_->index(row, NoteTableModel::kFirstTextColumn);
  mfgTrac_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  highlightRow(row);
  mfgTrac_->scrollTo(index);
}

void frmTrac::pushChange(const QString& text, std::function<void()> forward, std::function<void()> back) {
  undo_->push(new GridChange(text, std::move(forward), std::move(back)));
}

void frmTrac::InsertEvent(int row, bool extend) {
  row = std::clamp(row, 0, model_->noteCount());
  const clsNote note(newEvent(extend, noteLength_));
  pushChange(
      TKT("TONEKIT", "挿入"), [this, row, note] { model_->insertNote(row, note); SelectRow(row); },
      [this, row] { model_->removeNote(row); SelectRow(row); });
}

void frmTrac::setEventBytes(int row, const ByteString& bytes) {
  const ByteString before = model_->notes()[static_cast<std::size_t>(row)].getData();
  if (before == bytes) return;
  pushChange(
      TKT("TONEKIT", "編集"), [this, row, bytes] { model_->setNoteData(row, bytes); SelectRow(row); },
      [this, row, before] { model_->setNoteData(row, before); SelectRow(row); });
}

void frmTrac::EditEvent(int row) {
  const ByteString bytes = model_->notes()[static_cast<std::size_t>(row)].getData();
  if (!isExtendRow(bytes)) {
    frmNoteEdit editor(this);
    editor.NoteLength = noteLength_;
    editor.NoteData = bytes;
    editor.Load();
    platform().execDialog(editor);
    if (editor.Edit) setEventBytes(row, editor.NoteData);
  } else {
    frmExtendEdit editor(this);
    editor.NoteData = bytes;
    editor.Load();
    platform().execDialog(editor);
    // Ext-info events carry data this editor does not know; they stay as read.
    if (editor.Edit && !isExtInfoEvent(bytes)) setEventBytes(row, editor.NoteData);
  }
}

void frmTrac::DeleteEvent(int row) {
  const QString question = QString::number(row + 1) + TKT("TONEKIT", "を削除します。よろしいですか？");
  if (platform().message(this, question, Icon::Question, Buttons::OkCancel) != Answer::Ok) return;
  BusyCursor busy;
  const clsNote note = model_->notes()[static_cast<std::size_t>(row)];
  pushChange(
      TKT("TONEKIT", "削除"), [this, row] { model_->removeNote(row); SelectRow(row); },
      [this, row, note] { model_->insertNote(row, note); SelectRow(row); });
}

void frmTrac::StoreTrack(int track) {
  if (!MLDTracData) throw noTrackCollection();
  ByteString chunk = assembleTrack(model_->notes());
  if (session)
    session->replaceTrack(static_cast<std::size_t>(track), std::move(chunk));
  else
    MLDTracData->replace(TrackCollection::keyFor(static_cast<std::size_t>(track)), std::move(chunk));
}

void frmTrac::editCurrent() {
  const int row = currentRow();
  if (!model_->isNoteRow(row)) return;
  EditEvent(row);
  SelectRow(row);
}

void frmTrac::insertAtCurrent(bool extend) {
  const int row = currentRow();
  InsertEvent(row, extend);
  SelectRow(row);
}

void frmTrac::deleteCurrent() {
  const int row = currentRow();
  if (!model_->isNoteRow(row)) return;
  DeleteEvent(row);
  SelectRow(row);
}

void frmTrac::cmdReload_Click() {
  if (platform().message(this, TKT("TONEKIT", "変更箇所はリセットされてしまいます。よろしいですか？"), Icon::Question,
                         Buttons::OkCancel) != Answer::Ok)
    return;
  BusyCursor busy;
  Load();
}

void frmTrac::buildPlaybackEntries() {
  mnuNoteEdit_->addSeparator();
  const PlaybackActions actions = addPlaybackActions(this, mnuNoteEdit_, "mnuNoteEditPlayFrom", TKT("TONEKIT", "ここから再生"), "mnuNoteEditPlayStop");
  connect(actions.play, &QAction::triggered, this, [this] { guarded(this, [this] { playFromCurrent(); }); });
  connect(&Playback::instance(), &Playback::moved, this, [this] {
    if (Playback::instance().owner() != this) return;
    if (const auto event = Playback::instance().currentEvent(MLDTracNumber)) SelectRow(static_cast<int>(*event));
  });
}

void frmTrac::playFromCurrent() {
  if (!MLDTracData) throw noTrackCollection();
  // The whole melody as the document holds it, with this track as the grid has it now.
  sound::EditedTrack edited{static_cast<std::size_t>(MLDTracNumber), model_->notes()};
  const sound::Melody melody =
      session ? session->melody(noteLength_, edited)
              : sound::melodyOfTracks(*MLDTracData, noteLength_, framing_.exst,
                                      MLDCuePoints.empty() ? nullptr : &MLDCuePoints, edited);
  sound::ExportOptions options;
  const int row = currentRow();
  if (model_->isNoteRow(row)) options.fromEvent = {{MLDTracNumber, static_cast<std::size_t>(row)}};
  Playback::instance().play(this, melody, options);
}

void frmTrac::showPopup(const QPoint& globalPosition) { mnuNoteEdit_->popup(globalPosition); }

void frmTrac::showPopupAtCurrent() {
  const QRect row = mfgTrac_->visualRect(model_->index(currentRow(), NoteTableModel::kFirstTextColumn));
  showPopup(mfgTrac_->viewport()->mapToGlobal(row.isValid() ? row.bottomLeft() : QPoint(0, 0)));
}

bool frmTrac::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mfgTrac_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      // The entries act on the row under the pointer, as everywhere else on the desktop.
      const QModelIndex under = mfgTrac_->indexAt(mouse->position().toPoint());
      if (under.isValid()) SelectRow(under.row());
      showPopup(mouse->globalPosition().toPoint());
      return true;
    }
  }
  if (watched == mfgTrac_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      guarded(this, [this] { deleteCurrent(); });
      return true;
    }
    if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
      guarded(this, [this] { insertAtCurrent(false); });
      return true;
    }
    if ((key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
        (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
      showPopupAtCurrent();
      return true;
    }
    // Keys that type something open the editor; moving keys, Tab, Esc, Delete and the control
    // combinations (which carry a control character as their text) keep their jobs.
    const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool types = !key->text().isEmpty() && !command && key->key() != Qt::Key_Escape &&
                       key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab && key->key() != Qt::Key_Delete;
    if (types) {
      guarded(this, [this] { editCurrent(); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmTrac::closeEvent(QCloseEvent* event) {
  // A track that could not be read has nothing to give back: the document keeps what it has.
  if (!loadFailed_) guarded(this, [this] { StoreTrack(MLDTracNumber); });
  settings::rememberPlace(*this);
  bringBack(mainWindow);
  event->accept();
}

}  // namespace tonekit::ui
