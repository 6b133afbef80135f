// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Making the list: every MLD file below a folder with the title its file holds.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/MessageSink.h"
#include "file_list/clsMLDListItem.h"

namespace tonekit {

// The row of one file, read through a fresh document: its title, or an empty title when the
// file cannot be read (the failure is dropped; the reader's own messages go to messages).
clsMLDListItem readListItem(const std::string& path, MessageSink* messages = nullptr);

// Rows for paths, in their order. progress (when given) is told each row as it is made.
MLDList makeListItems(const std::vector<std::string>& paths, MessageSink* messages = nullptr,
                      const std::function<void(std::size_t index, const clsMLDListItem&)>& progress = {});

// Searches folder for kMldPattern and makes the rows; empty when no file was found (the caller
// then shows kNoMldFilesMessage and keeps its old list). unusablePaths (when given) receives the
// number of matching files left out because their path is too long to be opened.
MLDList makeMLDList(const std::string& folder, MessageSink* messages = nullptr, std::size_t* unusablePaths = nullptr);

}  // namespace tonekit
