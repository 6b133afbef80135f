// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "core/AppFolder.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "core/Failure.h"
#include "core/SafeFile.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tonekit {

fs::path executableFolder() {
  std::error_code ec;
#ifdef __linux__
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) return exe.parent_path();
#endif
  const fs::path here = fs::current_path(ec);
  return ec ? fs::path(".") : here;
}

fs::path privateDataFolder() {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    throw Failure::of(err::PathNotFound, "(HOME も XDG_DATA_HOME も設定されていないため、ユーザーのデータフォルダがありません)");
  }
  std::error_code ec;
  fs::create_directories(base, ec);
  // Walked under the link rule and named as it really is: messages then name the folder the
  // error file lands in, not where a link of someone else's would have sent it.
  const fs::path folder = realFolderPath(base) / "tonekit";
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    throw Failure::of(errno == ENOENT ? err::PathNotFound : err::PermissionDenied,
                      folder.string() + " (" + std::generic_category().message(errno) + ")");
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
    throw Failure::of(err::PermissionDenied, folder.string() + " (実行中のユーザーのフォルダではありません)");
  // Created by an older version with the umask's bits; what lands here is nobody else's business.
  if ((st.st_mode & 077) != 0) ::chmod(folder.c_str(), 0700);
  return folder;
}

fs::path writableProgramFolder() {
  const fs::path own = executableFolder();
#ifndef _WIN32
  struct stat st {};
  if (::access(own.c_str(), W_OK) == 0 && ::stat(own.c_str(), &st) == 0 && (st.st_mode & 022) == 0 &&
      (st.st_uid == ::geteuid() || st.st_uid == 0))
    return own;
  try {
    return privateDataFolder();
  } catch (const Failure&) {
    return {};
  }
#else
  return own;
#endif
}

}  // namespace tonekit
