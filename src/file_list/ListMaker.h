// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Making the list: every MLD file below a folder with the title its file holds.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Failure.h"
#include "base/MessageSink.h"
#include "file_list/clsMLDListItem.h"

namespace tonekit {

struct FoundFile;

// The row of one file, read through a fresh document: its title, or an empty title when the
// file holds no title or is no MLD file the reader can take (the reader's own messages go to
// messages). A file that cannot be read at all (a refused link, no permission, gone, too large,
// no regular file) gives no row: unreadable receives why. A row with an empty title for it would
// erase the title of a file that others may read when the list is applied.
std::optional<clsMLDListItem> readListItem(const std::string& path, MessageSink* messages, std::optional<Failure>& unreadable);
// The same, for a file the folder walk found, read through the folder the walk holds.
std::optional<clsMLDListItem> readListItem(const FoundFile& file, MessageSink* messages, std::optional<Failure>& unreadable);

// The line naming a file that was left out of a list because it could not be read.
std::string unreadableText(const Failure& failure);

// Searches folder for kMldPattern and makes the rows; empty when no file was found (the caller
// then shows kNoMldFilesMessage and keeps its old list). unusablePaths (when given) receives the
// number of matching files left out because their path is too long to be opened, unreadable
// (when given) why each file that could not be read was left out. onFile (when given) learns
// each file's path before its messages come, so that a caller can tell whose they are.
MLDList makeMLDList(const std::string& folder, MessageSink* messages = nullptr, std::size_t* unusablePaths = nullptr,
                    std::vector<Failure>* unreadable = nullptr,
                    const std::function<void(const std::string&)>& onFile = {});

}  // namespace tonekit
