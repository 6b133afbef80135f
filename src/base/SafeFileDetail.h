// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What the path walk (PathWalk.cpp), the safe save (SafeSave.cpp) and the reads (FileReads.cpp)
// share. Internal to base/: nothing outside it includes this header, and it is not installed.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/SafeFile.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace tonekit::detail {

// The system's text for an error number.
std::string reason(int errorNumber);

Failure withReason(long number, const std::string& path, const char* why);

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Where an opened folder really is, for messages that tell the user where to look.
std::filesystem::path realPathOf(int folder);

FileIdentity identityOf(const struct stat& st);

bool sameFile(const struct stat& a, const struct stat& b);

// A path taken apart once: its folder, opened, and the last step's name inside it.
struct FolderRef {
  int fd = -1;
  int get() const { return fd; }
};

struct Located {
  Fd held;  // the folder, when the walk opened it (else it is borrowed)
  FolderRef folder;
  struct stat folderSt {};
  std::string name;
  bool exists = false;
  struct stat st {};  // of the last step itself (never a link)
  // Set when whoever holds the folder flushes it later, once for many renames: the rename then
  // only marks it.
  bool* folderSyncLater = nullptr;
};

// How the last step's folder is kept: opened anew for files to be made in it, borrowed from a
// caller that holds it open, or not looked at beyond the step (a read).
enum class Hold { Reopen, Borrow, ForReading };

// Walks a path one step at a time from the root (or the current folder), opening every step
// without following a link; a link, taken once through its own descriptor, is followed only when
// it belongs to root, to the running user, to the owner of the folder that holds it or to the
// owner of what it leads to. What was judged is what the walk hands on, so nobody can swap a step
// between the look and the use.
class PathWalk {
 public:
  PathWalk(const std::string& shown, LinkRule links, bool makeMissing = false)
      : shown_(shown), links_(links), makeMissing_(makeMissing) {}

  Located locate(int base, const std::filesystem::path& path);
  // The last step inside a folder already walked.
  Located last(int folder, Hold hold, const std::string& name, const std::string& walked);
  Fd walkFolder(int base, const std::filesystem::path& text);

 private:
  Fd step(int folder, const std::string& name, const std::string& walked);
  std::filesystem::path follow(int link, const struct stat& st);
  void judge(const struct stat& link, int folder, const struct stat* reached, const std::string& walked) const;

  const std::string& shown_;
  LinkRule links_;
  bool makeMissing_;
  int hops_ = 0;
};

Located locate(const std::filesystem::path& path, const std::string& shown, LinkRule links = LinkRule::FollowOwned);

// Raises 70 for another user's file that a save must not write.
void refusePlanted(const Located& at, const std::string& shown);

Failure notRegular(const std::string& shown);
Failure tooLarge(const std::string& shown, std::uint64_t size);
Failure replacedSinceRead(const std::string& shown);

// Opens the last step of a located path without following a link there; a FIFO or device opens
// without waiting and is refused after the fstat.
Fd openRegular(const Located& at, int flags, struct stat& st, const std::string& shown);

// The file names a held folder takes: one step, no path.
void requireFileName(const std::string& name, const std::string& shown);

std::string nameShown(const std::string& shownFolder, const std::string& name);

// Flushes what the folder holds: its names, after a rename (SafeSave.cpp).
void syncFolder(int folder);

// The whole content of the regular file fd, whose fstat is st, or with limit no more than its
// first limit bytes (FileReads.cpp).
ByteString readOpened(const Fd& fd, const struct stat& st, const std::string& shown,
                      std::optional<std::size_t> limit = std::nullopt);

// What read returns; a permission failure it raises says that it could not read.
template <typename Read>
auto reading(const Read& read) -> decltype(read()) {
  try {
    return read();
  } catch (...) {
    rethrowAsRead();
  }
}

}  // namespace tonekit::detail
