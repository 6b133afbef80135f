// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Reading whole files and replacing files so that a failure never leaves a half-written one, and
// no link, special file or swap made by another user turns a read or a save elsewhere.
//
// Every step of a path is opened without following links; a symbolic link on any step is
// followed only when it belongs to root, to the running user, to the owner of the folder that
// holds it or to the owner of what it leads to, otherwise the read or save fails with 70 naming
// that step (RefusedLink). What the rule was judged on is what is opened: a step swapped
// meanwhile fails (75). Only regular files are read or written; a file that belongs neither to
// the running user nor to its folder's owner is not written (70) when the folder is sticky or
// the file has more than one name.
// Failures are raised as Failure (fileFailure's numbers).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteString.h"
#include "base/Failure.h"

namespace tonekit {

// No MLD, list or MIDI file comes near this; anything larger is refused before it is read.
inline constexpr std::uint64_t kLargestReadableFile = 16u * 1024u * 1024u;

// Which file on disk a read saw, so that a save can land on exactly that one.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The failure for a system error number met on path: 53 a missing file, 76 a missing folder
// (or a path through something that is no folder), 70 no permission or a read-only file system,
// 61 a full disk or quota, 75 anything else; the description carries the path and the system's
// reason behind the standard text.
Failure fileFailure(int errorNumber, const std::string& path, bool isFolder = false);

// A link the rule does not follow (70): no fault of the program, which the windows show as a
// message.
class RefusedLink : public Failure {
 public:
  explicit RefusedLink(const std::string& detail);
  // The same refusal met by a read, which says that the file could not be read.
  RefusedLink asRead() const;
};

// Inside a catch block: raises the exception in hand again; a permission failure (70) then says
// that what was refused could not be read, rather than written.
[[noreturn]] void rethrowAsRead();

// Reads the whole regular file; identity (when given) receives which file it was. Raises 53 when
// it does not exist, 75 for anything but a regular file or a file above kLargestReadableFile,
// and the failure of fileFailure when it cannot be opened or read (70 then says "読み込みできません。").
// Never blocks on a FIFO.
ByteString readWholeFile(const std::filesystem::path& path, FileIdentity* identity = nullptr);

// The same read of the file name inside a folder that is already open (a descriptor a walk of
// folders holds, which judged the way there); shown names it in messages.
ByteString readWholeFileIn(int folder, const std::string& name, const std::string& shown,
                           FileIdentity* identity = nullptr);

// Whether path leads to a regular file under the link rule; raises RefusedLink for a link the rule
// refuses, false for anything else that is not there.
bool isRegularFile(const std::filesystem::path& path);

// The first maxBytes bytes (at most kLargestReadableFile) of the regular file at path, read under
// the link rule: a look at a file that may be larger than anything read whole. Nothing when path
// names no file or anything but a regular file, which is never opened then (a FIFO would wait for
// a writer); otherwise raises what readWholeFile raises.
std::optional<ByteString> readFileStart(const std::filesystem::path& path, std::size_t maxBytes);

// Saves content as the file at target, which keeps its owner, group, mode, ACL, extended
// attributes and other names (hard links):
// - normally a temporary file beside it (0600, then given all of these before the first byte)
//   is written, flushed and renamed over it;
// - where that cannot be done (the file has several names, its owner or attributes cannot be
//   given to a new file, or its folder is not writable) the file is overwritten in place, after a
//   complete flushed backup copy of the old content (beside it, else in privateDataFolder())
//   that is removed once the new content is flushed.
// A target that does not exist is created (0666 less the umask). With expected, the save fails
// (75) unless target still names that very file. A read-only target fails with 75.
// On failure the target is as it was and no temporary file remains.
void replaceFileSafely(const std::filesystem::path& target, const ByteString& content,
                       std::optional<FileIdentity> expected = std::nullopt);

// Writes the content into an empty regular file opened for reading and writing, positioned at
// its start; raises (fileFailure with `shown`) when it cannot. The content is the file's whole
// length once it returns.
using ContentWriter = std::function<void(int fd, const std::string& shown)>;
// The same save for content too large to hold in memory, streamed by `write`; it may also reach
// the file by the name "/proc/self/fd/" + fd.
void replaceFileSafely(const std::filesystem::path& target, const ContentWriter& write,
                       std::optional<FileIdentity> expected = std::nullopt);

enum class LinkRule {
  FollowOwned,  // a link is followed under the ownership rule above
  Never,        // a link as the last step is refused (75)
};

// Appends bytes to the regular file at path (created 0666 less the umask when missing) and
// flushes it. On failure nothing of this call stays: a file it created is removed, an old one is
// cut back to its length.
void appendToFile(const std::filesystem::path& path, const ByteString& bytes, LinkRule links = LinkRule::FollowOwned);

// A folder reached under the link rule and held open: its files are read and saved through it with
// no second walk, in the folder the rule judged whatever happens to its path meanwhile. Raises
// what the walk raises.
class HeldFolder {
 public:
  // makeMissing: steps that do not exist are made (0777 less the umask), each inside the folder
  // walked before it.
  explicit HeldFolder(const std::filesystem::path& folder, bool makeMissing = false);
  // The subfolder name of parent, which must be a folder itself, not a link.
  HeldFolder(const HeldFolder& parent, const std::string& name);
  ~HeldFolder();
  HeldFolder(const HeldFolder&) = delete;
  HeldFolder& operator=(const HeldFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Where it really is, spelled without links.
  std::filesystem::path realPath() const;
  int fd() const { return fd_; }
  // readWholeFile and replaceFileSafely of the file name in this folder.
  ByteString read(const std::string& name, FileIdentity* identity = nullptr) const;
  void replace(const std::string& name, const ByteString& content, std::optional<FileIdentity> expected) const;
  // Turns what the file name holds into new content, or into nothing to leave it as it is.
  using Change = std::function<std::optional<ByteString>(const ByteString& content)>;
  // read() of the file, then replace() of exactly that file with what change makes of its
  // content, if anything: the file is looked up once and held open in between. Returns whether
  // it was saved; what change raises passes through. The file itself is flushed before its
  // rename, this folder (which holds the renames) once when it is let go, for all of them.
  bool update(const std::string& name, const Change& change) const;

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  mutable bool unsynced_ = false;  // renames made by update() wait for the folder's flush
};

// The folder reached by walking path under the link rule, spelled without links: the place a
// file made there really lands.
std::filesystem::path realFolderPath(const std::filesystem::path& folder);

// The backups that in-place saves of file left when they were killed (read-only copies of the
// old content named like the temporary files, beside the file or in the per-user data folder).
std::vector<std::filesystem::path> leftoverBackupsOf(const std::filesystem::path& file);

// Whether name is one of the temporary or backup files a save makes (left behind only when the
// program is killed in the middle of one).
bool isLeftoverTempName(std::string_view name);

}  // namespace tonekit
