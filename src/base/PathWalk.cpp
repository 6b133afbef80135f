// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The link-refusing walk of a path, and the failures that the reads and saves through it raise.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <system_error>
#include <vector>

#include "base/SafeFileDetail.h"
#include "base/Translate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tonekit {
namespace {

// The standard text of 70 speaks of writing; a read that was refused says what it could not do.
std::string textAsRead(const std::string& description) {
  const std::string writing = standardDescription(err::PermissionDenied);
  if (description.compare(0, writing.size(), writing) != 0) return description;
  return TKT("TONEKIT", "読み込みできません。") + description.substr(writing.size());
}

}  // namespace

void rethrowAsRead() {
  try {
    throw;
  } catch (const RefusedLink& refused) {
    throw refused.asRead();
  } catch (const Failure& failure) {
    if (failure.number() != err::PermissionDenied) throw;
    throw Failure(failure.number(), textAsRead(failure.description()), failure.source());
  }
}

RefusedLink::RefusedLink(const std::string& detail) : Failure(Failure::of(err::PermissionDenied, detail)) {}

RefusedLink RefusedLink::asRead() const {
  RefusedLink read(*this);
  static_cast<Failure&>(read) = Failure(number(), textAsRead(description()), source());
  return read;
}

Failure fileFailure(int errorNumber, const std::string& path, bool isFolder) {
  long number = err::PathFileAccess;
  switch (errorNumber) {
    case ENOENT: number = isFolder ? err::PathNotFound : err::FileNotFound; break;
    case ENOTDIR: number = err::PathNotFound; break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: number = err::PermissionDenied; break;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: number = err::DiskFull; break;
    default: break;
  }
  return Failure::of(number, path + " (" + detail::reason(errorNumber) + ")");
}

namespace detail {

std::string reason(int errorNumber) { return std::generic_category().message(errorNumber); }

Failure withReason(long number, const std::string& path, const char* why) {
  return Failure::of(number, path + " (" + why + ")");
}

fs::path realPathOf(int folder) {
  std::error_code ec;
  const fs::path real = fs::read_symlink("/proc/self/fd/" + std::to_string(folder), ec);
  return ec ? fs::path(".") : real;
}

FileIdentity identityOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

namespace {

constexpr int kMostLinks = 40;

}  // namespace

Located PathWalk::locate(int base, const fs::path& path) {
  const std::string name = path.filename().string();
  if (name.empty() || name == "." || name == "..")
    throw withReason(err::PathFileAccess, shown_, TKT("TONEKIT", "ファイル名がありません"));
  Fd folder = walkFolder(base, path.parent_path());
  Located at = last(folder.get(), Hold::Reopen, name, (path.parent_path() / name).string());
  if (!at.held && at.folder.get() == folder.get()) at.held = std::move(folder);
  return at;
}

Located PathWalk::last(int folder, Hold hold, const std::string& name, const std::string& walked) {
  struct stat st {};
  // Anything but a link is only looked at here: whoever opens it later checks that it is still
  // the file looked at.
  bool exists = ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) throw fileFailure(errno, shown_);
  if (exists && S_ISLNK(st.st_mode)) {
    // A link is judged and read through one descriptor of its own, never by its name twice.
    const Fd fd(::openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    exists = static_cast<bool>(fd);
    if (!fd && errno != ENOENT) throw fileFailure(errno, shown_);
    if (fd && ::fstat(fd.get(), &st) != 0) throw fileFailure(errno, shown_);
    if (fd && S_ISLNK(st.st_mode)) {
      if (links_ == LinkRule::Never) throw withReason(err::PathFileAccess, shown_, TKT("TONEKIT", "シンボリックリンクはたどりません"));
      const fs::path text = follow(fd.get(), st);
      Located target = locate(folder, text);
      judge(st, folder, target.exists ? &target.st : nullptr, walked);
      return target;
    }
  }
  Located at;
  at.name = name;
  at.exists = exists;
  at.st = st;
  at.folder.fd = folder;
  if (hold == Hold::ForReading) return at;
  if (hold == Hold::Borrow) {
    if (::fstat(folder, &at.folderSt) != 0) throw fileFailure(errno, shown_, true);
    return at;
  }
  // Files are made, renamed and synced through the folder; one that may only be passed
  // through still serves for all but the sync.
  at.held = Fd(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (at.held) at.folder.fd = at.held.get();
  if (::fstat(at.folder.get(), &at.folderSt) != 0) throw fileFailure(errno, shown_, true);
  return at;
}

Fd PathWalk::walkFolder(int base, const fs::path& text) {
  Fd at(text.is_absolute() ? ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)
                           : ::openat(base, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!at) throw fileFailure(errno, shown_, true);
  fs::path walked = text.root_path();
  for (const fs::path& part : text.relative_path()) {
    const std::string name = part.string();
    if (name.empty() || name == ".") continue;
    walked /= part;
    // A missing step is made inside the folder just walked, never by its path.
    if (makeMissing_ && ::mkdirat(at.get(), name.c_str(), 0777) != 0 && errno != EEXIST)
      throw fileFailure(errno, shown_, true);
    at = step(at.get(), name, walked.string());
  }
  return at;
}

Fd PathWalk::step(int folder, const std::string& name, const std::string& walked) {
  Fd fd(::openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
  if (!fd) throw fileFailure(errno, shown_, true);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) throw fileFailure(errno, shown_, true);
  if (S_ISDIR(st.st_mode)) return fd;
  if (!S_ISLNK(st.st_mode)) throw fileFailure(ENOTDIR, shown_, true);
  const fs::path text = follow(fd.get(), st);
  Fd next = walkFolder(folder, text);
  struct stat reached {};
  if (::fstat(next.get(), &reached) != 0) throw fileFailure(errno, shown_, true);
  judge(st, folder, &reached, walked);
  return next;
}

// The text of the link the descriptor holds: read from that very link, not from its name.
fs::path PathWalk::follow(int link, const struct stat& st) {
  if (++hops_ > kMostLinks) throw fileFailure(ELOOP, shown_);
  std::vector<char> target(static_cast<std::size_t>(std::max<off_t>(st.st_size, PATH_MAX)) + 1);
  const ssize_t n = ::readlinkat(link, "", target.data(), target.size());
  if (n < 0) throw fileFailure(errno, shown_);
  if (static_cast<std::size_t>(n) >= target.size()) throw fileFailure(ENAMETOOLONG, shown_);
  return fs::path(std::string(target.data(), static_cast<std::size_t>(n)));
}

// Links that root or the running user made, or that lead to their own maker's file or folder,
// give nobody a way into what is not theirs. A link that the folder's owner made (who decides
// what the folder's names mean anyway: the kernel's rule in sticky folders) is followed too,
// except by root: a user's own folder would otherwise let that user aim root's writes at any
// file of the system. Any other link is refused.
void PathWalk::judge(const struct stat& link, int folder, const struct stat* reached, const std::string& walked) const {
  const uid_t me = ::geteuid();
  if (link.st_uid == 0 || link.st_uid == me || (reached && reached->st_uid == link.st_uid)) return;
  struct stat holder {};
  const bool holdersOwn = ::fstat(folder, &holder) == 0 && holder.st_uid == link.st_uid;
  if (holdersOwn && me != 0) return;
  throw RefusedLink(shown_ + " (" + walked +
                    (holdersOwn ? TKT("TONEKIT", " はほかのユーザーが自分のフォルダに置いたリンクのため、root としてはたどりません)")
                                : TKT("TONEKIT", " はリンクで、その持ち主が root でも実行中のユーザーでも、リンクのあるフォルダやリンク先の持ち主でもないため、たどりません)")));
}

Located locate(const fs::path& path, const std::string& shown, LinkRule links) {
  return PathWalk(shown, links).locate(AT_FDCWD, path);
}

// Another user's file in a sticky folder that is not the folder owner's is not ours to write,
// whatever its mode says: the rule of the kernel's protected_regular.
// A file with several names is the same: where the kernel does not stop it (protected_hardlinks
// 0), anyone may give another user's file a name in a folder of theirs.
void refusePlanted(const Located& at, const std::string& shown) {
  if (!at.exists || at.st.st_uid == ::geteuid() || at.st.st_uid == at.folderSt.st_uid) return;
  if (at.folderSt.st_mode & S_ISVTX)
    throw withReason(err::PermissionDenied, shown,
                     TKT("TONEKIT", "固定ビットのあるフォルダにほかのユーザーが置いたファイルのため、書き込みません"));
  if (at.st.st_nlink > 1)
    throw withReason(err::PermissionDenied, shown,
                     TKT("TONEKIT", "ほかにも名前（ハードリンク）があり、持ち主が実行中のユーザーでもフォルダの持ち主でもないファイルのため、書き込みません"));
}

Failure notRegular(const std::string& shown) { return withReason(err::PathFileAccess, shown, TKT("TONEKIT", "通常のファイルではありません")); }

Failure tooLarge(const std::string& shown, std::uint64_t size) {
  return Failure::of(err::PathFileAccess, shown + " (" + std::to_string(size) + TKT("TONEKIT", " バイトは大きすぎます。上限は ") +
                                              std::to_string(kLargestReadableFile) + TKT("TONEKIT", " バイトです)"));
}

Failure replacedSinceRead(const std::string& shown) {
  return withReason(err::PathFileAccess, shown, TKT("TONEKIT", "読み込んだ後で別のファイルに置き換えられたため、保存しません"));
}

Fd openRegular(const Located& at, int flags, struct stat& st, const std::string& shown) {
  // Opening some devices does something by itself; such a file is not even opened.
  if (at.exists && !S_ISREG(at.st.st_mode)) throw notRegular(shown);
  Fd fd(::openat(at.folder.get(), at.name.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (!fd) throw errno == ELOOP ? replacedSinceRead(shown) : fileFailure(errno, shown);
  if (::fstat(fd.get(), &st) != 0) throw fileFailure(errno, shown);
  if (!S_ISREG(st.st_mode)) throw notRegular(shown);
  // Only the file whose owner the walk judged may be opened, not one put there since.
  if (at.exists && !sameFile(st, at.st)) throw replacedSinceRead(shown);
  return fd;
}

void requireFileName(const std::string& name, const std::string& shown) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
    throw withReason(err::PathFileAccess, shown, TKT("TONEKIT", "ファイル名がありません"));
}

std::string nameShown(const std::string& shownFolder, const std::string& name) {
  return shownFolder.empty() || shownFolder.back() == '/' ? shownFolder + name : shownFolder + "/" + name;
}

}  // namespace detail
}  // namespace tonekit
