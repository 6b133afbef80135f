// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The batch title update: writes every row's title into the file the row names. A job without
// any window: the list window (or the CLI) drives it row by row or in one call, and shows the
// messages itself (kNoListMessage before, the confirmation, the error file message and
// kUpdateDoneMessage after).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/Failure.h"
#include "base/MessageSink.h"
#include "base/SafeFile.h"
#include "file_list/ListFile.h"
#include "file_list/clsMLDListItem.h"

namespace tonekit {

// writableProgramFolder() / "ExecuteError.csv"; raises the failure of privateDataFolder() when
// the program has no folder of its own to put it in.
std::filesystem::path defaultErrorFilePath();

enum class RowOutcome { Written, Unchanged, Failed };

struct RowResult {
  std::size_t index = 0;          // 0-based position in the list
  RowOutcome outcome = RowOutcome::Unchanged;
  std::optional<Failure> failure; // set when outcome is Failed
};

// Applies one row: Failed when the path is empty or hidden (53), when the file cannot be read
// completely (what the reader raises: 53 missing, 75 no regular file or too large, ...; memory
// running out fails this row only), when its title differs but it has no title chunk to hold it
// (the writer would leave the title out), or when saving it fails (also when the path leads to
// another file than the one read by then); Unchanged when the file's title equals the row's byte
// for byte; Written otherwise (only the title value changes; the file is replaced safely). The
// reader's own messages go to messages.
RowResult applyListItem(const clsMLDListItem& item, MessageSink* messages = nullptr);
// The same, reusing folder (the row's folder, held open) when the row lies in it, else walking
// to the row's folder and holding that one in folder.
RowResult applyListItem(const clsMLDListItem& item, MessageSink* messages, std::unique_ptr<HeldFolder>& folder);

struct BatchSummary {
  std::size_t written = 0, unchanged = 0, failed = 0;
  // Set when rows failed and their lines were appended to the error file.
  bool errorFileWritten = false;
  // Failed rows whose line the error file cannot hold (see listRowProblem), by position.
  std::vector<std::size_t> leftOutOfErrorFile;
  // Refused list lines (refuse()) the error file's encoding cannot hold, by order of refusal.
  std::vector<std::size_t> refusedLeftOutOfErrorFile;
  // The failure of writing the error file ("出力失敗"); the window shows the error report then,
  // instead of the two closing messages.
  std::optional<Failure> errorFileFailure;
};

class BatchUpdateJob {
 public:
  using RowCallback = std::function<void(const RowResult&)>;

  // The job keeps its own rows: the list it was made from may change or go while it runs.
  explicit BatchUpdateJob(MLDList items, std::filesystem::path errorFile = defaultErrorFilePath(),
                          MessageSink* messages = nullptr);

  const MLDList& items() const { return items_; }
  std::size_t size() const { return items_.size(); }
  std::size_t position() const { return next_; }  // rows done so far
  bool done() const { return next_ >= items_.size(); }

  // Applies the next row; a failed row's line goes to the error file. Raises 5 when done().
  RowResult step();

  // A line of the list that gave no row (or whose title cannot be written), as the list file
  // held it in listEncoding: counted as a failed row and kept in the error file.
  void refuse(const ByteString& rawLine);
  // The encoding of the list the rows came from: a new error file gets it, so that the lines
  // refused keep every character.
  void setListEncoding(ListEncoding encoding) { listEncoding_ = encoding; }

  // After the last row: when some row failed or a line was refused, appends their lines (the
  // refused ones first, then the failed rows with the list's titles) and one line end to the
  // error file, which must be a regular file reached without a symbolic link; the file keeps its
  // encoding and line ends. Does nothing more when called again. Returns the summary of the
  // whole run.
  BatchSummary finish();

  // step() until done, each result handed to onRow, then finish().
  BatchSummary run(const RowCallback& onRow = {});

  const std::filesystem::path& errorFile() const { return errorFile_; }
  // The closing message for rows that failed: head + error file path + tail.
  std::string errorFileMessage() const;
  const BatchSummary& summary() const { return summary_; }

 private:
  MLDList items_;
  std::filesystem::path errorFile_;
  MessageSink* messages_;
  std::size_t next_ = 0;
  MLDList failedItems_;
  std::vector<std::size_t> failedPositions_;
  RawListLines refused_;
  ListEncoding listEncoding_ = ListEncoding::Cp932;
  BatchSummary summary_;
  bool finished_ = false;
  std::unique_ptr<HeldFolder> folder_;  // of the last row, for the rows that follow in it
};

}  // namespace tonekit
