// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "base/AppFolder.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <system_error>

#include "base/Failure.h"
#include "base/SafeFile.h"
#include "base/Translate.h"

#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// Where the per-user data folder's parent lies; none without HOME and XDG_DATA_HOME.
std::optional<fs::path> dataFolderBase() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return fs::path(xdg);
  if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".local" / "share";
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> privateDataFolderPath() {
  const auto base = dataFolderBase();
  if (!base) return std::nullopt;
  return *base / "tonekit";
}

std::unique_ptr<HeldFolder> openPrivateDataFolder() {
  const auto found = dataFolderBase();
  if (!found)
    throw Failure::of(err::PathNotFound, TKT("TONEKIT", "(HOME も XDG_DATA_HOME も設定されていないため、ユーザーのデータフォルダがありません)"));
  const fs::path& base = *found;
  // Walked under the link rule before anything is made, and everything after goes through the
  // walked folder: nothing lands where a link of someone else's would have sent it, and messages
  // name the folder as it really is.
  const HeldFolder parent(base, true);
  if (::mkdirat(parent.fd(), "tonekit", 0700) != 0 && errno != EEXIST)
    throw Failure::of(errno == ENOENT ? err::PathNotFound : err::PermissionDenied,
                      (parent.realPath() / "tonekit").string() + " (" + std::generic_category().message(errno) + ")");
  auto folder = std::make_unique<HeldFolder>(parent, "tonekit");
  struct stat st {};
  if (::fstat(folder->fd(), &st) != 0 || st.st_uid != ::geteuid())
    throw Failure::of(err::PermissionDenied, folder->realPath().string() + TKT("TONEKIT", " (実行中のユーザーのフォルダではありません)"));
  // Created by an older version with the umask's bits; what lands here is nobody else's business.
  if ((st.st_mode & 077) != 0) ::fchmod(folder->fd(), 0700);
  return folder;
}

fs::path privateDataFolder() { return openPrivateDataFolder()->realPath(); }

fs::path writableProgramFolder() {
  const fs::path own = executableFolder();
  struct stat st {};
  if (::access(own.c_str(), W_OK) == 0 && ::stat(own.c_str(), &st) == 0 && (st.st_mode & 022) == 0 &&
      (st.st_uid == ::geteuid() || st.st_uid == 0))
    return own;
  try {
    return privateDataFolder();
  } catch (const Failure&) {
    return {};
  }
}

}  // namespace tonekit
