// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Finding files: a breadth-first walk of a folder tree that keeps the paths matching one of a set
// of wildcard patterns.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tonekit {

// Whether text matches pattern, both compared in upper case (ASCII letters), character by
// character (UTF-8 code points; a byte that is no valid UTF-8 counts as one character).
//   *  any run of characters, none included, separators included
//   ?  exactly one character
//   #  exactly one digit 0-9
//   [list] one character in the list (ranges as A-Z); [!list] one character not in it
// A "[" without its "]" stands for itself.
bool likeMatch(std::string_view text, std::string_view pattern);

// What a walk found, and what it had to leave out.
struct WalkReport {
  std::size_t found = 0;          // matching files handed to the visitor
  std::size_t unusablePaths = 0;  // matching files whose path is too long for the system to open
};

// A matching file as the walk meets it: its full path, and its name inside the folder the walk
// holds open (a descriptor valid during the visit only), through which it is read without
// walking the path again.
struct FoundFile {
  const std::string& path;
  int folder;
  const std::string& name;
};

class clsFileList {
 public:
  using FileVisitor = std::function<void(const FoundFile& file)>;

  // Every file below strPathName (its own files first, then its subfolders' level by level, each
  // folder's entries in the order the system lists them) whose full path matches one of the
  // patterns in strPattern, handed to visit in walk order; memory stays with the folders still to
  // visit. strPathName may end in "/" or not; a found path is the folder path, ending in one "/",
  // followed by the file's name. Nothing is found when strPathName is "". Folders below the start
  // that cannot be read contribute nothing. Links to folders are not followed (the tree is walked
  // through its real folders only), so the walk neither loops nor leaves the tree; a folder that
  // turns out to be one of its own ancestors (a bind mount) is skipped too. The walk goes to any
  // depth (folders are opened through their parent's descriptor), skips the temporary files a
  // killed save leaves, and says what it left out: matching files whose path is too long to be
  // opened are counted, not visited. Raises the failure of the system's reason (70, 76, 75) when
  // strPathName exists but cannot be read as a folder (76 when it does not exist). The start
  // folder is reached under the link rule of the file reader (RefusedLink when it refuses a step).
  WalkReport walkFiles(const std::string& strPathName, const std::string& strPattern, const FileVisitor& visit) const;
};

}  // namespace tonekit
