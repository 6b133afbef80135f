// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Reading whole files through the walk, and folders held open for a batch of reads and saves.
#include <algorithm>
#include <cerrno>
#include <string>

#include "base/SafeFileDetail.h"
#include "base/Translate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tonekit {
using namespace detail;

ByteString detail::readOpened(const Fd& fd, const struct stat& st, const std::string& shown,
                              std::optional<std::size_t> limit) {
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (!limit && size > kLargestReadableFile) throw tooLarge(shown, size);
  const std::size_t most = limit ? std::min<std::size_t>(*limit, kLargestReadableFile) : kLargestReadableFile;
  ByteString data(static_cast<std::size_t>(std::min<std::uint64_t>(size, most)) + 1);
  std::size_t done = 0;
  // Reads with what is really there; a file that grows meanwhile stops at the limit.
  for (;;) {
    if (done == data.size()) {
      if (data.size() > most) {
        if (!limit) throw tooLarge(shown, data.size());
        done = most;
        break;
      }
      data.resize(std::min<std::size_t>(data.size() * 2, most + 1));
    }
    const ssize_t n = ::read(fd.get(), data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fileFailure(errno, shown);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  return data;
}

namespace {

ByteString readLocated(const Located& at, const std::string& shown, FileIdentity* identity) {
  if (!at.exists) throw fileFailure(ENOENT, shown);
  struct stat st {};
  const Fd fd = openRegular(at, O_RDONLY, st, shown);
  ByteString data = readOpened(fd, st, shown);
  if (identity) *identity = identityOf(st);
  return data;
}

}  // namespace

ByteString readWholeFile(const fs::path& path, FileIdentity* identity) {
  const std::string shown = path.string();
  return reading([&] { return readLocated(locate(path, shown), shown, identity); });
}

ByteString readWholeFileIn(int folder, const std::string& name, const std::string& shown, FileIdentity* identity) {
  return reading([&] {
    requireFileName(name, shown);
    return readLocated(PathWalk(shown, LinkRule::FollowOwned).last(folder, Hold::ForReading, name, shown), shown,
                       identity);
  });
}

std::optional<ByteString> readFileStart(const fs::path& path, std::size_t maxBytes) {
  const std::string shown = path.string();
  return reading([&]() -> std::optional<ByteString> {
    const Located at = locate(path, shown);
    if (!at.exists || !S_ISREG(at.st.st_mode)) return std::nullopt;
    // An empty file has no start to read, even one we may only write to.
    if (at.st.st_size == 0) return ByteString{};
    struct stat st {};
    const Fd fd = openRegular(at, O_RDONLY, st, shown);
    return readOpened(fd, st, shown, maxBytes);
  });
}

bool isRegularFile(const fs::path& path) {
  const std::string shown = path.string();
  try {
    const Located at = locate(path, shown);
    return at.exists && S_ISREG(at.st.st_mode);
  } catch (const RefusedLink& refused) {
    throw refused.asRead();
  } catch (const Failure&) {
    return false;
  }
}

HeldFolder::HeldFolder(const fs::path& folder, bool makeMissing) : path_(folder) {
  const std::string shown = folder.string();
  Fd walked = PathWalk(shown, LinkRule::FollowOwned, makeMissing).walkFolder(AT_FDCWD, folder.empty() ? fs::path(".") : folder);
  // Files are made and synced through it; one that may only be passed through serves the rest.
  Fd readable(::openat(walked.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  fd_ = readable ? readable.get() : walked.get();
  if (readable) static_cast<void>(readable.release());
  else static_cast<void>(walked.release());
}

HeldFolder::HeldFolder(const HeldFolder& parent, const std::string& name) : path_(parent.path_ / name) {
  fd_ = ::openat(parent.fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == ELOOP) throw withReason(err::PermissionDenied, path_.string(), TKT("TONEKIT", "リンクです。フォルダではありません"));
    throw fileFailure(errno, path_.string(), true);
  }
}

fs::path HeldFolder::realPath() const { return realPathOf(fd_); }

HeldFolder::~HeldFolder() {
  if (fd_ >= 0 && unsynced_) syncFolder(fd_);
  if (fd_ >= 0) ::close(fd_);
}

ByteString HeldFolder::read(const std::string& name, FileIdentity* identity) const {
  return readWholeFileIn(fd_, name, nameShown(path_.string(), name), identity);
}

fs::path realFolderPath(const fs::path& folder) {
  const std::string shown = folder.string();
  const Fd fd = PathWalk(shown, LinkRule::FollowOwned).walkFolder(AT_FDCWD, folder);
  return realPathOf(fd.get());
}

}  // namespace tonekit
