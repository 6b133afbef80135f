// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// One row of the MLD file list: a file's path and its title bytes.

#include <string>
#include <vector>

#include "base/ByteString.h"

namespace tonekit {

struct clsMLDListItem {
  std::string MLDPath;   // full path of the MLD file (UTF-8 text, as the file system gives it)
  ByteString MLDTitle;   // the title as the file holds it (code page 932 bytes); empty when unread

  bool operator==(const clsMLDListItem&) const = default;
};

// The rows in list order; row r of the grid is element r-1.
using MLDList = std::vector<clsMLDListItem>;

}  // namespace tonekit
