// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The safe save: a temporary file renamed over the old one, or an overwrite in place behind a
// flushed backup; appends that leave nothing behind when they fail; the names of what a killed
// save left.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "base/AppFolder.h"
#include "base/SafeFileDetail.h"
#include "base/Translate.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tonekit {
using namespace detail;

namespace {

constexpr std::string_view kTempMark = ".tonekit-";
constexpr std::size_t kRandomLength = 12;
constexpr char kRandomChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// The kernel's random bytes, fetched for many names at a time; a forked child fetches its own,
// so that it never makes the names its parent makes.
thread_local unsigned char randomPool[kRandomLength * 64];
thread_local std::size_t randomUsed = sizeof randomPool;
[[maybe_unused]] const int kChildDrawsItsOwn = ::pthread_atfork(nullptr, nullptr, [] { randomUsed = sizeof randomPool; });

std::string randomPart() {
  if (randomUsed + kRandomLength > sizeof randomPool) {
    std::size_t got = 0;
    while (got < sizeof randomPool) {
      const ssize_t n = ::getrandom(randomPool + got, sizeof randomPool - got, 0);
      if (n < 0) {
        if (errno == EINTR) continue;
        throw Failure::of(err::PathFileAccess, "(getrandom: " + reason(errno) + ")");
      }
      got += static_cast<std::size_t>(n);
    }
    randomUsed = 0;
  }
  std::string s;
  for (std::size_t i = 0; i < kRandomLength; ++i)
    s.push_back(kRandomChars[randomPool[randomUsed + i] % (sizeof(kRandomChars) - 1)]);
  randomUsed += kRandomLength;
  return s;
}

// "." + name + ".tonekit-" + random, the borrowed name shortened so that the whole stays within
// the system's name limit.
std::string tempNameFor(const std::string& name, std::size_t nameMax) {
  const std::size_t fixed = 1 + kTempMark.size() + kRandomLength;
  const std::size_t room = nameMax > fixed ? nameMax - fixed : 0;
  return "." + name.substr(0, std::min(name.size(), room)) + std::string(kTempMark) + randomPart();
}

}  // namespace

bool isLeftoverTempName(std::string_view name) {
  if (name.size() < 1 + kTempMark.size() + 8 || name.front() != '.') return false;
  const std::size_t mark = name.rfind(kTempMark);
  if (mark == std::string_view::npos || mark == 0) return false;
  const std::string_view tail = name.substr(mark + kTempMark.size());
  // Earlier versions used 8 random characters.
  if (tail.size() != kRandomLength && tail.size() != 8) return false;
  return std::all_of(tail.begin(), tail.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

std::vector<fs::path> leftoverBackupsOf(const fs::path& file) {
  const std::string name = file.filename().string();
  std::vector<fs::path> found;
  if (name.empty()) return found;
  std::vector<fs::path> folders{file.has_parent_path() ? file.parent_path() : fs::path(".")};
  // Where a save puts the backup when the file's folder is not writable (not created here).
  if (const auto data = privateDataFolderPath()) folders.push_back(*data);
  for (const fs::path& folder : folders) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string entry = it->path().filename().string();
      if (!isLeftoverTempName(entry)) continue;
      // The borrowed name is the file's, shortened only where the whole would pass the limit.
      const std::string borrowed = entry.substr(1, entry.rfind(kTempMark) - 1);
      if (borrowed != name && !(name.starts_with(borrowed) && entry.size() + 8 >= NAME_MAX)) continue;
      struct stat st {};
      if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0222) != 0 ||
          st.st_uid != ::geteuid())
        continue;
      found.push_back(it->path());
    }
  }
  return found;
}

namespace detail {

void syncFolder(int folder) { ::fsync(folder); }

}  // namespace detail

namespace {

// A file size limit (ulimit -f) would kill the program in the middle of a save and leave its
// temporary file; ignored, the write fails with EFBIG and the save says so like a full disk.
[[maybe_unused]] const bool kSizeLimitIsAFailure = ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;

void writeAll(int fd, const std::uint8_t* data, std::size_t size, off_t at, const std::string& shown) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fileFailure(errno, shown);
    }
    if (n == 0) throw fileFailure(EIO, shown);
    data += n;
    at += n;
    size -= static_cast<std::size_t>(n);
  }
}

void flush(int fd, const std::string& shown) {
  if (::fsync(fd) != 0) throw fileFailure(errno, shown);
}

// A new file in folder, 0600, removed again unless kept.
class TempFile {
 public:
  TempFile(int folder, const std::string& borrowed) : folder_(folder) {
    // The folder's own limit is asked for only where a name at the system's is too long for it.
    std::size_t nameMax = NAME_MAX;
    for (int attempt = 0; attempt < 16; ++attempt) {
      name_ = tempNameFor(borrowed, nameMax);
      fd_ = Fd(::openat(folder, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
      error_ = fd_ ? 0 : errno;
      if (error_ == ENAMETOOLONG && nameMax == NAME_MAX) {
        const long max = ::fpathconf(folder, _PC_NAME_MAX);
        if (max > 0 && static_cast<std::size_t>(max) < nameMax) {
          nameMax = static_cast<std::size_t>(max);
          continue;
        }
      }
      if (error_ != EEXIST) break;
    }
  }
  ~TempFile() {
    if (fd_ && !kept_) ::unlinkat(folder_, name_.c_str(), 0);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_.get(); }
  int error() const { return error_; }
  const std::string& name() const { return name_; }
  void keep() { kept_ = true; }

 private:
  int folder_;
  std::string name_;
  Fd fd_;
  int error_ = 0;
  bool kept_ = false;
};

bool folderNotWritable(int errorNumber) { return errorNumber == EACCES || errorNumber == EPERM; }

std::vector<std::string> xattrNames(int fd) {
  for (;;) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) {
      if (errno == ENOTSUP) return {};
      throw std::system_error(errno, std::generic_category());
    }
    std::vector<char> list(static_cast<std::size_t>(size));
    const ssize_t got = size ? ::flistxattr(fd, list.data(), list.size()) : 0;
    if (got < 0) {
      if (errno == ERANGE) continue;  // grew in between
      throw std::system_error(errno, std::generic_category());
    }
    std::vector<std::string> names;
    for (std::size_t i = 0; i < static_cast<std::size_t>(got);) {
      names.emplace_back(list.data() + i);
      i += names.back().size() + 1;
    }
    return names;
  }
}

// Gives the new file the old one's owner, group, ACL, extended attributes and mode (the ACL is
// the attribute system.posix_acl_access); false when any of them cannot be given. The mode comes
// last: until the ACL is in place a wider mode would let in whom the ACL shuts out.
bool carryMetadata(int from, const struct stat& st, int to) {
  try {
    if (::fchown(to, st.st_uid, st.st_gid) != 0) return false;
    const std::vector<std::string> wanted = xattrNames(from);
    // What the folder's default ACL gave the new file and the old one lacks must go.
    for (const auto& name : xattrNames(to))
      if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && ::fremovexattr(to, name.c_str()) != 0)
        return false;
    for (const auto& name : wanted) {
      const ssize_t size = ::fgetxattr(from, name.c_str(), nullptr, 0);
      if (size < 0) return false;
      std::vector<char> value(static_cast<std::size_t>(size));
      const ssize_t got = size ? ::fgetxattr(from, name.c_str(), value.data(), value.size()) : 0;
      if (got < 0 || ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(got), 0) != 0) return false;
    }
    return ::fchmod(to, st.st_mode & 07777) == 0;
  } catch (const std::system_error&) {
    return false;
  }
}

void renameInto(const Located& at, const TempFile& temp, bool replacing, const std::string& shown) {
  int rc = -1;
  if (!replacing) {
    // A file that appeared meanwhile under the name is not ours to replace.
    rc = ::renameat2(at.folder.get(), temp.name().c_str(), at.folder.get(), at.name.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && errno == EEXIST) throw withReason(err::PathFileAccess, shown, TKT("TONEKIT", "保存中に同じ名前のファイルが作られました"));
    if (rc != 0 && errno != EINVAL && errno != ENOSYS) throw fileFailure(errno, shown);
  }
  if (rc != 0 && ::renameat(at.folder.get(), temp.name().c_str(), at.folder.get(), at.name.c_str()) != 0)
    throw fileFailure(errno, shown);
  if (at.folderSyncLater) *at.folderSyncLater = true;
  else syncFolder(at.folder.get());
}

void saveNew(const Located& at, const ContentWriter& content, const std::string& shown) {
  TempFile temp(at.folder.get(), at.name);
  if (temp.fd() < 0) throw fileFailure(temp.error(), shown);
  content(temp.fd(), shown);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (::fchmod(temp.fd(), 0666 & ~mask) != 0) throw fileFailure(errno, shown);
  flush(temp.fd(), shown);
  renameInto(at, temp, false, shown);
  temp.keep();
}

// Temporary file beside the target, renamed over it; false when that road is closed (the
// folder is not writable, or the file's owner or attributes cannot be given to a new file).
bool replaceBeside(const Located& at, Fd& old, const struct stat& st, const ContentWriter& content,
                   const std::string& shown) {
  TempFile temp(at.folder.get(), at.name);
  if (temp.fd() < 0) {
    if (folderNotWritable(temp.error())) return false;
    throw fileFailure(temp.error(), shown);
  }
  if (!carryMetadata(old.get(), st, temp.fd())) return false;
  // Held open over the rename, the old file would be unlinked while open and pass through the
  // file system's orphan list: a journal write of its own for every file a batch saves.
  old.reset();
  content(temp.fd(), shown);
  flush(temp.fd(), shown);
  struct stat now {};
  if (::fstatat(at.folder.get(), at.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(now, st))
    throw replacedSinceRead(shown);
  renameInto(at, temp, true, shown);
  temp.keep();
  return true;
}

// Copies everything from one descriptor to another from offset 0; false on a read or write error.
bool copyAll(int from, int to, const std::string& shown) {
  std::vector<std::uint8_t> buffer(1 << 16);
  off_t at = 0;
  for (;;) {
    const ssize_t n = ::pread(from, buffer.data(), buffer.size(), at);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fileFailure(errno, shown);
    }
    if (n == 0) return true;
    writeAll(to, buffer.data(), static_cast<std::size_t>(n), at, shown);
    at += n;
  }
}

constexpr mode_t kBackupMode = 0400;

// A flushed copy of the old content, beside the file or, where its folder is not writable, in
// the private data folder.
struct Backup {
  Fd dataFolder;  // set when the copy is not beside the file
  std::unique_ptr<TempFile> file;
  fs::path shownPath;
};

Backup makeBackup(const Located& at, int file, const std::string& shown) {
  Backup backup;
  backup.file = std::make_unique<TempFile>(at.folder.get(), at.name);
  backup.shownPath = realPathOf(at.folder.get());
  if (backup.file->fd() < 0) {
    if (!folderNotWritable(backup.file->error())) throw fileFailure(backup.file->error(), shown);
    const std::unique_ptr<HeldFolder> held = openPrivateDataFolder();
    const fs::path data = held->realPath();
    backup.dataFolder = Fd(::fcntl(held->fd(), F_DUPFD_CLOEXEC, 0));
    if (!backup.dataFolder) throw fileFailure(errno, data.string(), true);
    backup.file = std::make_unique<TempFile>(backup.dataFolder.get(), at.name);
    if (backup.file->fd() < 0) throw fileFailure(backup.file->error(), data.string());
    backup.shownPath = data;
  }
  backup.shownPath /= backup.file->name();
  // No write bit tells a backup from the temporary file of a normal save, which always carries
  // one (a file without any is read-only and never saved): what a killed save left is findable.
  if (::fchmod(backup.file->fd(), kBackupMode) != 0) throw fileFailure(errno, shown);
  // A failure here is the save's: the message names the file being saved, not the copy.
  copyAll(file, backup.file->fd(), shown);
  flush(backup.file->fd(), shown);
  syncFolder(backup.dataFolder ? backup.dataFolder.get() : at.folder.get());
  return backup;
}

// Overwrites the file itself, which keeps everything but its content: the road for files with
// several names, with an owner or attributes a new file cannot get, or in a folder that is not
// writable.
void saveInPlace(const Located& at, const struct stat& read, const ContentWriter& content, const std::string& shown) {
  struct stat st {};
  Fd file = openRegular(at, O_RDWR, st, shown);
  if (!sameFile(st, read)) throw replacedSinceRead(shown);
  Backup backup = makeBackup(at, file.get(), shown);
  try {
    // The writer may write less than was there: what lies behind it must go.
    if (::ftruncate(file.get(), 0) != 0) throw fileFailure(errno, shown);
    content(file.get(), shown);
    flush(file.get(), shown);
  } catch (...) {
    // Whatever stopped the writer (memory, a library's own exception), the old content goes back;
    // when even that fails the backup stays and the message says where.
    bool restored = false;
    try {
      restored = copyAll(backup.file->fd(), file.get(), shown) && ::ftruncate(file.get(), read.st_size) == 0 &&
                 ::fsync(file.get()) == 0;
    } catch (...) {
    }
    if (restored) throw;
    backup.file->keep();
    const Failure failure = currentFailure();
    throw Failure(failure.number(), failure.description() + TKT("TONEKIT", " 元の内容: ") + backup.shownPath.string(), failure.source());
  }
}

bool readOnlyForUs(const Located& at, const struct stat& st, int& why) {
  why = 0;
  // Root may write anything; a file without any write bit is still read-only to the program.
  if ((st.st_mode & 0222) == 0) return true;
  if (::faccessat(at.folder.get(), at.name.c_str(), W_OK, AT_EACCESS) == 0) return false;
  why = errno;
  return true;
}

// The save over old, the located file opened for reading, whose fstat is st.
void replaceOpened(const Located& at, Fd& old, const struct stat& st, const ContentWriter& content, const std::string& shown) {
  int why = 0;
  if (readOnlyForUs(at, st, why)) {
    if (why != 0 && why != EACCES) throw fileFailure(why, shown);
    throw withReason(err::PathFileAccess, shown, TKT("TONEKIT", "読み取り専用のファイルです"));
  }
  if (st.st_nlink > 1 || !replaceBeside(at, old, st, content, shown)) saveInPlace(at, st, content, shown);
}

void replaceLocated(const Located& at, const ContentWriter& content, std::optional<FileIdentity> expected,
                    const std::string& shown) {
  if (!at.exists) {
    if (expected) throw withReason(err::FileNotFound, shown, TKT("TONEKIT", "読み込んだ後でなくなりました"));
    saveNew(at, content, shown);
    return;
  }
  refusePlanted(at, shown);
  struct stat st {};
  Fd old = openRegular(at, O_RDONLY, st, shown);
  if (expected && identityOf(st) != *expected) throw replacedSinceRead(shown);
  replaceOpened(at, old, st, content, shown);
}

}  // namespace

void appendToFile(const fs::path& path, const ByteString& bytes, LinkRule links) {
  const std::string shown = path.string();
  const Located at = locate(path, shown, links);
  refusePlanted(at, shown);
  struct stat st {};
  Fd fd;
  bool created = false;
  if (at.exists) {
    fd = openRegular(at, O_WRONLY | O_APPEND, st, shown);
  } else {
    fd = Fd(::openat(at.folder.get(), at.name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!fd || ::fstat(fd.get(), &st) != 0) throw fileFailure(errno, shown);
    created = true;
  }
  try {
    const std::uint8_t* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      const ssize_t n = ::write(fd.get(), data, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw fileFailure(n < 0 ? errno : EIO, shown);
      data += n;
      left -= static_cast<std::size_t>(n);
    }
    flush(fd.get(), shown);
  } catch (const Failure&) {
    // Nothing of this call stays: a file it made goes, an old one is cut back to its length.
    struct stat now {};
    if (created && ::fstatat(at.folder.get(), at.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(now, st))
      ::unlinkat(at.folder.get(), at.name.c_str(), 0);
    else if (!created && ::ftruncate(fd.get(), st.st_size) == 0)
      ::fsync(fd.get());
    throw;
  }
  if (created) syncFolder(at.folder.get());
}

void replaceFileSafely(const fs::path& target, const ByteString& content, std::optional<FileIdentity> expected) {
  replaceFileSafely(
      target, [&content](int fd, const std::string& shown) { writeAll(fd, content.data(), content.size(), 0, shown); },
      expected);
}

void replaceFileSafely(const fs::path& requested, const ContentWriter& content, std::optional<FileIdentity> expected) {
  const std::string shown = requested.string();
  replaceLocated(locate(requested, shown), content, expected, shown);
}

void HeldFolder::replace(const std::string& name, const ByteString& content, std::optional<FileIdentity> expected) const {
  const std::string shown = nameShown(path_.string(), name);
  requireFileName(name, shown);
  const Located at = PathWalk(shown, LinkRule::FollowOwned).last(fd_, Hold::Borrow, name, shown);
  replaceLocated(
      at, [&content](int fd, const std::string& s) { writeAll(fd, content.data(), content.size(), 0, s); }, expected,
      shown);
}

bool HeldFolder::update(const std::string& name, const Change& change) const {
  const std::string shown = nameShown(path_.string(), name);
  requireFileName(name, shown);
  Located at;
  Fd file;
  const ByteString content = reading([&] {
    at = PathWalk(shown, LinkRule::FollowOwned).last(fd_, Hold::ForReading, name, shown);
    if (!at.exists) throw fileFailure(ENOENT, shown);
    struct stat st {};
    file = openRegular(at, O_RDONLY, st, shown);
    return readOpened(file, st, shown);
  });
  const std::optional<ByteString> changed = change(content);
  if (!changed) return false;
  // The file held open since the read is the one saved over: its state and its folder's now
  // decide, as for a save that looks the file up anew.
  if (::fstat(file.get(), &at.st) != 0) throw fileFailure(errno, shown);
  if (::fstat(at.folder.get(), &at.folderSt) != 0) throw fileFailure(errno, shown, true);
  refusePlanted(at, shown);
  // The renames in this folder are flushed together when it is let go; one reached through a
  // link is flushed at once.
  if (at.folder.get() == fd_) at.folderSyncLater = &unsynced_;
  replaceOpened(
      at, file, at.st, [&changed](int fd, const std::string& s) { writeAll(fd, changed->data(), changed->size(), 0, s); },
      shown);
  return true;
}

}  // namespace tonekit
