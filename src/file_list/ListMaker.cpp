// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/ListMaker.h"

#include <exception>

#include "core/clsMLD.h"
#include "file_list/ListTexts.h"
#include "file_list/clsFileList.h"

namespace tonekit {

clsMLDListItem readListItem(const std::string& path, MessageSink* messages) {
  clsMLDListItem row;
  row.MLDPath = path;
  try {
    clsMLD doc;
    doc.MLDFile = path;
    // A read that stops early leaves the document without a title, so the row's stays empty.
    doc.ParseMLD(messages);
    row.MLDPath = doc.MLDFile;
    row.MLDTitle = doc.MLDTitl;
  } catch (const Failure&) {
    // An unreadable file is still listed, with an empty title.
  } catch (const std::exception&) {
    // Memory running out over one file (bad_alloc) ends only that row too.
  }
  return row;
}

MLDList makeListItems(const std::vector<std::string>& paths, MessageSink* messages,
                      const std::function<void(std::size_t, const clsMLDListItem&)>& progress) {
  MLDList rows;
  rows.reserve(paths.size());
  for (const auto& path : paths) {
    rows.push_back(readListItem(path, messages));
    if (progress) progress(rows.size() - 1, rows.back());
  }
  return rows;
}

MLDList makeMLDList(const std::string& folder, MessageSink* messages, std::size_t* unusablePaths) {
  std::vector<std::string> paths;
  WalkReport report;
  try {
    report = clsFileList().walkReport(folder, kMldPattern, [&paths](const std::string& path) { paths.push_back(path); });
  } catch (const Failure&) {
    // A folder that cannot be read lists nothing, as one with no file.
  }
  if (unusablePaths) *unusablePaths = report.unusablePaths;
  return makeListItems(paths, messages);
}

}  // namespace tonekit
