// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/BatchUpdate.h"

#include <exception>
#include <memory>
#include <system_error>

#include "base/AppFolder.h"
#include "mld/clsMLD.h"
#include "file_list/ListFile.h"
#include "file_list/ListTexts.h"
#include "base/Translate.h"

namespace fs = std::filesystem;

namespace tonekit {

namespace {

// Names beginning with "." are this system's hidden files (the temporary files of saves among
// them); the update leaves them alone although the search lists them.
bool hiddenOrNameless(const fs::path& path) {
  const std::string name = path.filename().string();
  return name.empty() || name.front() == '.';
}

}  // namespace

fs::path defaultErrorFilePath() {
  const fs::path folder = writableProgramFolder();
  // Without a program or data folder of its own privateDataFolder() raises why.
  return (folder.empty() ? privateDataFolder() : folder) / kErrorFileName;
}

RowResult applyListItem(const clsMLDListItem& item, MessageSink* messages) {
  std::unique_ptr<HeldFolder> folder;
  return applyListItem(item, messages, folder);
}

RowResult applyListItem(const clsMLDListItem& item, MessageSink* messages, std::unique_ptr<HeldFolder>& folder) {
  RowResult result;
  auto fail = [&result](Failure failure) {
    result.outcome = RowOutcome::Failed;
    result.failure = std::move(failure);
    return result;
  };

  if (item.MLDPath.empty()) return fail(Failure::of(err::FileNotFound, TKT("TONEKIT", "(パスが空です)")));
  if (hiddenOrNameless(item.MLDPath)) return fail(Failure::of(err::FileNotFound, item.MLDPath));

  const fs::path path(item.MLDPath);
  const std::string name = path.filename().string();
  clsMLD doc;
  doc.MLDFile = item.MLDPath;
  std::optional<Failure> refused;
  try {
    // The rows of one folder follow each other: it is walked once and held, so that each of its
    // files is read and saved in the folder the link rule judged.
    if (!folder || folder->path() != path.parent_path()) {
      folder.reset();
      folder = std::make_unique<HeldFolder>(path.parent_path());
    }
    // Saved onto exactly the file that was read, held open in between.
    const bool written = folder->update(name, [&](const ByteString& bytes) -> std::optional<ByteString> {
      if (!doc.parseBytes(bytes, messages))
        refused = Failure::of(err::InvalidCall, TKT("TONEKIT", "(読み込みが途中で止まったファイルです: ") + item.MLDPath + ")");
      // Without a title chunk the writer would leave the title out again: the file would be
      // rewritten unchanged and the row look applied although its title is nowhere.
      else if (doc.MLDTitl != item.MLDTitle && !doc.MLDTitlEnabled)
        refused = Failure::of(err::InvalidCall, TKT("TONEKIT", "(タイトルのチャンクがないファイルです: ") + item.MLDPath + ")");
      if (refused || doc.MLDTitl == item.MLDTitle) return std::nullopt;
      doc.MLDTitl = item.MLDTitle;
      return doc.renderMLD();
    });
    if (refused) return fail(*refused);
    if (written) result.outcome = RowOutcome::Written;
  } catch (const std::exception&) {
    // One row never ends the batch, whatever it meets (memory running out included).
    return fail(currentFailure());
  }
  return result;
}

BatchUpdateJob::BatchUpdateJob(MLDList items, fs::path errorFile, MessageSink* messages)
    : items_(std::move(items)), errorFile_(std::move(errorFile)), messages_(messages) {}

RowResult BatchUpdateJob::step() {
  if (done()) throw Failure::of(err::InvalidCall, TKT("TONEKIT", "(更新する行が残っていません)"));
  const clsMLDListItem& item = items_[next_];
  RowResult result = applyListItem(item, messages_, folder_);
  result.index = next_;
  ++next_;
  switch (result.outcome) {
    case RowOutcome::Written: ++summary_.written; break;
    case RowOutcome::Unchanged: ++summary_.unchanged; break;
    case RowOutcome::Failed:
      ++summary_.failed;
      failedItems_.push_back(item);
      failedPositions_.push_back(result.index);
      break;
  }
  return result;
}

void BatchUpdateJob::refuse(const ByteString& rawLine) {
  ++summary_.failed;
  refused_.lines.push_back(rawLine);
}

BatchSummary BatchUpdateJob::finish() {
  if (finished_) return summary_;
  finished_ = true;
  // Let go, the last folder is flushed: every row written is on the disk before the summary.
  folder_.reset();
  if (failedItems_.empty() && refused_.lines.empty()) return summary_;
  refused_.encoding = listEncoding_;
  try {
    const ErrorFileSave save = appendListFile(errorFile_, failedItems_, listEncoding_, refused_, LinkRule::Never);
    for (const std::size_t i : save.leftOut) summary_.leftOutOfErrorFile.push_back(failedPositions_[i]);
    summary_.refusedLeftOutOfErrorFile = save.leftOutRaw;
    summary_.errorFileWritten = true;
  } catch (const Failure& failure) {
    summary_.errorFileFailure = failure;
  }
  return summary_;
}

BatchSummary BatchUpdateJob::run(const RowCallback& onRow) {
  while (!done()) {
    const RowResult result = step();
    if (onRow) onRow(result);
  }
  return finish();
}

std::string BatchUpdateJob::errorFileMessage() const {
  return std::string(kErrorFileMessageHead) + errorFile_.string() + kErrorFileMessageTail;
}

}  // namespace tonekit
