// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The MLD list window: makes a list of the MLD files below a folder, shows their paths and
// titles, saves and loads the list as a CSV file, edits one row's title and writes the titles of
// all rows back into their files.

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "base/MessageSink.h"
#include "file_list/ListFile.h"
#include "file_list/clsMLDListItem.h"

class QAbstractButton;
class QLabel;
class QTableView;

namespace tonekit::ui {

class MLDListModel;
class frmWait;

class frmMLDList : public QWidget {
  Q_OBJECT
 public:
  explicit frmMLDList(QWidget* parent = nullptr);
  ~frmMLDList() override;

  // The rows; grid row r shows element r-1.
  tonekit::MLDList MLDListItems;
  // The main window's document: the dialogs start beside it until a list file is in hand.
  QString documentPath;

  // Where "ExecuteError.csv" goes: the program's folder, or the per-user data folder where that
  // cannot be written.
  std::filesystem::path errorFolder() const { return errorFolder_; }
  void setErrorFolder(std::filesystem::path folder) { errorFolder_ = std::move(folder); }
  std::filesystem::path errorFilePath() const;

  // Shows MLDListItems in the grid.
  void ShowList();
  // Drops every row (the grid empties with it).
  void ResetList();

  // The window's events, public so that a test (or a menu) can fire them like a click does.
  void cmdMakeList_Click();
  void cmdLoadList_Click();
  void cmdSaveList_Click();
  void cmdExecute_Click();
  void cmdClose_Click();
  void mfgMLDList_DblClick();

  // While a long command runs: the wait window standing in for this one, else nothing.
  frmWait* waitWindow() const { return wait_.get(); }
  // When set, asked on the update's own thread after each row (given the rows done) whether to
  // go on; false stops the update as キャンセル does, at a row of the caller's choosing.
  void setRowGate(std::function<bool(std::size_t)> gate) { rowGate_ = std::move(gate); }

  // Whether the rows hold changes not saved: a title edited, or rows made from a folder, since
  // the list was last loaded, saved or applied in full.
  bool isModified() const { return modified_; }
  // Sorts the rows by a column (MLDListModel's), ascending or not; saving and applying then go
  // in the order shown.
  void sortRows(int column, Qt::SortOrder order);

 signals:
  // The window is closing: whoever opened it takes over again.
  void unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class WaitSteps;
  friend class WaitSteps;

  QWidget* messageParent();
  QString displayTitle(const tonekit::ByteString& title) const;
  void selectRow(int row);
  // The one message naming the rows a list file could not hold.
  void showLeftOut(const std::vector<std::size_t>& leftOut, tonekit::ListEncoding encoding);
  // The list save's work; true when the file was written.
  bool saveList();
  // The two columns share the grid's width as the classic widths share the classic grid.
  void fitColumns();
  // The title counts the rows; the help line shows as much as the width holds.
  void showRowCount();
  void fitHelpLine();
  // Where the list's dialogs start: beside the list file, else beside the main window's document.
  QString dialogAnchor() const { return listPath_.isEmpty() ? documentPath : listPath_; }
  // The walk and the update run on a thread of their own; this thread keeps the windows painted,
  // shows the messages work sends and runs tick every few milliseconds until work has ended.
  // What work raises is raised here.
  void runOffWindowThread(const std::function<void(MessageSink&)>& work, const std::function<void()>& tick = {});

  std::function<bool(std::size_t)> rowGate_;
  QAbstractButton* cmdExecute_ = nullptr;
  QAbstractButton* cmdMakeList_ = nullptr;
  QAbstractButton* cmdLoadList_ = nullptr;
  QAbstractButton* cmdSaveList_ = nullptr;
  QAbstractButton* cmdClose_ = nullptr;
  QTableView* mfgMLDList_ = nullptr;
  MLDListModel* model_ = nullptr;
  QLabel* lblCaption_ = nullptr;
  QLabel* lblMessage_ = nullptr;
  std::unique_ptr<frmWait> wait_;
  std::filesystem::path errorFolder_;
  bool modified_ = false;
  int lastSortColumn_ = -1;
  Qt::SortOrder lastSortOrder_ = Qt::AscendingOrder;
  // The list file loaded or saved last: its dialogs start beside it.
  QString listPath_;
  // Lines of the loaded list that gave no row: the next update counts them and keeps them in the
  // error file.
  tonekit::RawListLines refusedLines_;
};

}  // namespace tonekit::ui
