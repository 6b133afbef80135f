// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/clsFileList.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "base/CodePage.h"
#include "base/SafeFile.h"

namespace fs = std::filesystem;

namespace tonekit {
namespace {

constexpr char kSeparator = '/';

// Bytes that are no valid UTF-8 become code points above the Unicode range, one per byte, so
// that they still count as one character each and match only themselves.
constexpr char32_t kRawByteBase = 0x110000;

char32_t upperAscii(char32_t c) { return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c; }

std::u32string upperCodePoints(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    const std::optional<char32_t> c = nextUtf8CodePoint(s, i);
    out.push_back(c ? upperAscii(*c) : kRawByteBase + b0);
  }
  return out;
}

// One pattern, taken apart once per walk rather than once per file.
class CompiledPattern {
 public:
  explicit CompiledPattern(std::string_view pattern) {
    const std::u32string p = upperCodePoints(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
      const char32_t c = p[i];
      Token t;
      if (c == U'*') {
        t.kind = Kind::Star;
      } else if (c == U'?') {
        t.kind = Kind::Any;
      } else if (c == U'#') {
        t.kind = Kind::Digit;
      } else if (c == U'[') {
        const std::size_t close = p.find(U']', i + 1);
        if (close == std::u32string::npos) {
          t.kind = Kind::Literal;
          t.literal = c;
        } else {
          std::size_t j = i + 1;
          if (j < close && p[j] == U'!') {
            t.negate = true;
            ++j;
          }
          if (j == close && !t.negate) {
            // "[]" stands for no character at all.
            i = close;
            continue;
          }
          t.kind = Kind::Set;
          for (; j < close; ++j) {
            char32_t lo = p[j], hi = p[j];
            if (j + 2 < close && p[j + 1] == U'-') {
              hi = p[j + 2];
              j += 2;
            }
            t.ranges.emplace_back(lo, hi);
          }
          i = close;
        }
      } else {
        t.kind = Kind::Literal;
        t.literal = c;
      }
      tokens_.push_back(std::move(t));
    }
  }

  bool matches(const std::u32string& text) const {
    // Greedy match with one back-up point: the last star may take one more character.
    std::size_t ti = 0, pi = 0;
    std::size_t starPi = npos, starTi = 0;
    while (ti < text.size()) {
      if (pi < tokens_.size() && tokens_[pi].kind == Kind::Star) {
        starPi = pi++;
        starTi = ti;
      } else if (pi < tokens_.size() && tokens_[pi].takes(text[ti])) {
        ++pi;
        ++ti;
      } else if (starPi != npos) {
        pi = starPi + 1;
        ti = ++starTi;
      } else {
        return false;
      }
    }
    while (pi < tokens_.size() && tokens_[pi].kind == Kind::Star) ++pi;
    return pi == tokens_.size();
  }

 private:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  enum class Kind { Literal, Star, Any, Digit, Set };
  struct Token {
    Kind kind = Kind::Literal;
    char32_t literal = 0;
    bool negate = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool takes(char32_t c) const {
      switch (kind) {
        case Kind::Literal: return c == literal;
        case Kind::Any: return true;
        case Kind::Digit: return c >= U'0' && c <= U'9';
        case Kind::Set: {
          bool in = false;
          for (const auto& [lo, hi] : ranges)
            if (c >= lo && c <= hi) in = true;
          return in != negate;
        }
        case Kind::Star: return false;
      }
      return false;
    }
  };
  std::vector<Token> tokens_;
};

// The pattern list of a pattern text: the pieces between ";" as they stand, empty ones included.
std::vector<std::string> splitPatterns(std::string_view strPattern) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t semi = strPattern.find(';', start);
    if (semi == std::string_view::npos) {
      out.emplace_back(strPattern.substr(start));
      return out;
    }
    out.emplace_back(strPattern.substr(start, semi - start));
    start = semi + 1;
  }
}

// The part of strText before the first strDelimiter, or the whole text when it holds none.
std::string CutNullChar(std::string_view strText, char strDelimiter = '\0') {
  const std::size_t at = strText.find(strDelimiter);
  return std::string(at == std::string_view::npos ? strText : strText.substr(0, at));
}

std::vector<CompiledPattern> compilePatterns(std::string_view strPattern) {
  std::vector<CompiledPattern> patterns;
  for (const auto& p : splitPatterns(strPattern)) patterns.emplace_back(p);
  return patterns;
}

int findIndex(const std::u32string& upperPath, const std::vector<CompiledPattern>& patterns) {
  for (std::size_t i = 0; i < patterns.size(); ++i)
    if (patterns[i].matches(upperPath)) return static_cast<int>(i);
  return -1;
}


// A folder descriptor shared by the subfolders that are opened through it.
class FolderFd {
 public:
  explicit FolderFd(int fd) : fd_(fd) {}
  ~FolderFd() { ::close(fd_); }
  FolderFd(const FolderFd&) = delete;
  FolderFd& operator=(const FolderFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Identity of a folder on disk, so that a folder met again below itself (a bind mount, a
// hard-linked folder) is recognised. Each queued folder keeps the chain of its ancestors only,
// which is released as soon as no queued folder below them is left.
struct FolderNode {
  dev_t device = 0;
  ino_t inode = 0;
  std::shared_ptr<const FolderNode> parent;
};

struct PendingFolder {
  std::string path;  // ends in the separator
  std::shared_ptr<const FolderNode> parent;
  // Set when the path is too long for the system to open: the folder is then opened by its
  // name inside its parent, whose descriptor stays open until all such children are done.
  std::shared_ptr<FolderFd> parentFd;
  std::string name;
};

// Paths this long cannot be handed to the system (nor to the reader) as they are.
constexpr std::size_t kPathLimit = PATH_MAX;

int openFolder(const PendingFolder& folder) {
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
  if (folder.parentFd) return ::openat(folder.parentFd->get(), folder.name.c_str(), flags);
  return ::open(folder.path.c_str(), flags);
}

// Only the start folder may be reached through a link, under the rule every read follows; a
// mistyped or unreadable folder must not look like an empty one.
int openStartFolder(const std::string& path) {
  try {
    const HeldFolder held(path);
    const int fd = ::openat(held.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw fileFailure(errno, path, true);
    return fd;
  } catch (...) {
    rethrowAsRead();
  }
}

// The node for the open folder, or nothing when it already lies above itself.
std::shared_ptr<const FolderNode> enterFolder(int fd, const std::shared_ptr<const FolderNode>& parent) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return nullptr;
  for (const FolderNode* up = parent.get(); up; up = up->parent.get())
    if (up->device == st.st_dev && up->inode == st.st_ino) return nullptr;
  auto node = std::make_shared<FolderNode>();
  node->device = st.st_dev;
  node->inode = st.st_ino;
  node->parent = parent;
  return node;
}

enum class EntryKind { Folder, File, Other };

EntryKind kindOf(int folder, const struct dirent& entry) {
  unsigned char type = entry.d_type;
  struct stat st {};
  if (type == DT_UNKNOWN) {
    if (::fstatat(folder, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
    type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
  }
  if (type == DT_DIR) return EntryKind::Folder;
  if (type == DT_LNK) {
    // A link to a folder is not walked: its target is either inside the tree, where the walk
    // meets it anyway, or outside it, where the search must not go.
    const bool toFolder = ::fstatat(folder, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    return toFolder ? EntryKind::Other : EntryKind::File;
  }
  return EntryKind::File;
}

}  // namespace

bool likeMatch(std::string_view text, std::string_view pattern) {
  return CompiledPattern(pattern).matches(upperCodePoints(text));
}

WalkReport clsFileList::walkFiles(const std::string& strPathName, const std::string& strPattern,
                                  const FileVisitor& visit) const {
  WalkReport report;
  if (strPathName.empty()) return report;
  const std::vector<CompiledPattern> patterns = compilePatterns(strPattern);

  std::deque<PendingFolder> queue;
  std::string start = strPathName;
  if (start.back() != kSeparator) start.push_back(kSeparator);
  queue.push_back({std::move(start), nullptr, nullptr, {}});
  bool isStart = true;

  while (!queue.empty()) {
    PendingFolder current = std::move(queue.front());
    queue.pop_front();
    const int fd = isStart ? openStartFolder(strPathName) : openFolder(current);
    isStart = false;
    if (fd < 0) continue;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
      ::close(fd);
      continue;
    }
    auto ownFd = std::make_shared<FolderFd>(::dup(::dirfd(dir)));
    const auto node = enterFolder(ownFd->get(), current.parent);
    current.parentFd.reset();
    if (!node) {
      ::closedir(dir);
      continue;
    }
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = CutNullChar(entry->d_name);
      if (name.empty() || name == "." || name == "..") continue;
      const EntryKind kind = kindOf(ownFd->get(), *entry);
      std::string full = current.path + name;
      if (kind == EntryKind::Folder) {
        full.push_back(kSeparator);
        const bool tooLong = full.size() >= kPathLimit;
        queue.push_back({std::move(full), node, tooLong ? ownFd : nullptr, tooLong ? name : std::string()});
        continue;
      }
      // What a killed save left behind is no file of the user's.
      if (kind != EntryKind::File || isLeftoverTempName(name)) continue;
      if (patterns.empty() || findIndex(upperCodePoints(full), patterns) < 0) continue;
      if (full.size() >= kPathLimit) {
        ++report.unusablePaths;
        continue;
      }
      ++report.found;
      visit({full, ownFd->get(), name});
    }
    ::closedir(dir);
  }
  return report;
}


}  // namespace tonekit
