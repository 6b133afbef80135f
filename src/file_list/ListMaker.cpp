// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ListMaker.h"

#include <exception>

#include "base/SafeFile.h"

#include "mld/clsMLD.h"
#include "file_list/ListTexts.h"
#include "file_list/clsFileList.h"
#include "base/Translate.h"

namespace tonekit {

namespace {

template <typename Read>
std::optional<clsMLDListItem> listItem(const std::string& path, MessageSink* messages,
                                       std::optional<Failure>& unreadable, const Read& read) {
  clsMLDListItem row;
  row.MLDPath = path;
  unreadable.reset();
  ByteString bytes;
  try {
    bytes = read();
  } catch (const std::exception&) {
    // Memory running out over one file (bad_alloc) ends only that row too.
    unreadable = currentFailure();
    return std::nullopt;
  }
  try {
    clsMLD doc;
    doc.MLDFile = path;
    // A read that stops early leaves the document without a title, so the row's stays empty.
    doc.parseBytes(bytes, messages);
    row.MLDTitle = doc.MLDTitl;
  } catch (const std::exception&) {
    // No MLD file the reader can take: listed with an empty title, as ever.
  }
  return row;
}

}  // namespace

std::optional<clsMLDListItem> readListItem(const std::string& path, MessageSink* messages,
                                           std::optional<Failure>& unreadable) {
  return listItem(path, messages, unreadable, [&] { return readWholeFile(path); });
}

std::optional<clsMLDListItem> readListItem(const FoundFile& file, MessageSink* messages,
                                           std::optional<Failure>& unreadable) {
  return listItem(file.path, messages, unreadable,
                  [&] { return readWholeFileIn(file.folder, file.name, file.path); });
}

std::string unreadableText(const Failure& failure) {
  return TKT("TONEKIT", "読み込めないため、リストに入れられないファイルがあります: ") + failure.line();
}

MLDList makeMLDList(const std::string& folder, MessageSink* messages, std::size_t* unusablePaths,
                    std::vector<Failure>* unreadable, const std::function<void(const std::string&)>& onFile) {
  MLDList rows;
  WalkReport report;
  try {
    report = clsFileList().walkFiles(folder, kMldPattern, [&](const FoundFile& file) {
      if (onFile) onFile(file.path);
      std::optional<Failure> why;
      if (auto row = readListItem(file, messages, why))
        rows.push_back(std::move(*row));
      else if (unreadable && why)
        unreadable->push_back(std::move(*why));
    });
  } catch (const Failure&) {
    // A folder that cannot be read lists nothing, as one with no file.
  }
  if (unusablePaths) *unusablePaths = report.unusablePaths;
  return rows;
}

}  // namespace tonekit
