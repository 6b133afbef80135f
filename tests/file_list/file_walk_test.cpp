// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

#include "Failures.h"
#include "TempDir.h"
#include "base/Failure.h"
#include "file_list/clsFileList.h"

namespace fs = std::filesystem;
using tonekit::clsFileList;
using tonekit::test::TempDir;

namespace {

const tonekit::ByteString kSome = {'x'};

std::vector<std::string> names(const std::vector<std::string>& paths, const fs::path& root) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(p.substr(root.string().size() + 1));
  return out;
}

// The paths a walk finds; nothing when the start cannot be walked.
std::vector<std::string> walked(const std::string& start, const std::string& pattern) {
  std::vector<std::string> out;
  try {
    clsFileList().walkFiles(start, pattern, [&out](const tonekit::FoundFile& file) { out.push_back(file.path); });
  } catch (const tonekit::Failure&) {
    out.clear();
  }
  return out;
}

std::size_t indexOf(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<std::size_t>(std::find(v.begin(), v.end(), s) - v.begin());
}

TEST(FileWalk, GoesLevelByLevel) {
  TempDir dir;
  dir.write("top/sub1/deep/d.mld", kSome);
  dir.write("top/sub1/b.mld", kSome);
  dir.write("top/sub2/c.mld", kSome);
  dir.write("top/sub2/deeper/still/e.mld", kSome);
  dir.write("top/a.mld", kSome);
  const auto found = names(walked((dir / "top").string(), "*.mld"), dir / "top");
  ASSERT_EQ(found.size(), 5u);
  EXPECT_EQ(found[0], "a.mld");
  // b and c in the order the system lists sub1 and sub2; d and e only after both.
  const std::vector<std::string> middle(found.begin() + 1, found.begin() + 3);
  EXPECT_TRUE(std::is_permutation(middle.begin(), middle.end(),
                                  std::vector<std::string>{"sub1/b.mld", "sub2/c.mld"}.begin()));
  EXPECT_EQ(found[3], "sub1/deep/d.mld");
  EXPECT_EQ(found[4], "sub2/deeper/still/e.mld");
}

TEST(FileWalk, MatchesWholePathInAnyCaseAndSearchesFoldersNamedLikeFiles) {
  TempDir dir;
  dir.write("A.MLD", kSome);
  dir.write("b.Mld", kSome);
  dir.write("c.mld.bak", kSome);
  dir.write("d.mld~", kSome);
  dir.write(".hidden.mld", kSome);
  dir.write(".hidden_folder/e.mld", kSome);
  dir.write("x.mld/inner.mld", kSome);
  auto found = names(walked(dir.path().string(), "*.mld"), dir.path());
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{".hidden.mld", ".hidden_folder/e.mld", "A.MLD", "b.Mld",
                                             "x.mld/inner.mld"}));
}

TEST(FileWalk, SeveralPatternsShareOneWalkOrder) {
  TempDir dir;
  dir.write("one.mld", kSome);
  dir.write("two.mid", kSome);
  dir.write("three.txt", kSome);
  dir.write("sub/four.MID", kSome);
  auto found = names(walked(dir.path().string(), "*.mld;*.mid"), dir.path());
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[2], "sub/four.MID");
  EXPECT_LT(indexOf(found, "one.mld"), 2u);
  EXPECT_LT(indexOf(found, "two.mid"), 2u);
  // An empty piece matches nothing but an empty path; it does not widen the search.
  EXPECT_EQ(walked(dir.path().string(), "*.txt;").size(), 1u);
  // The whole path is matched: a pattern without a leading star must name the folder too.
  EXPECT_TRUE(walked(dir.path().string(), "one.mld").empty());
  EXPECT_EQ(walked(dir.path().string(), (dir / "one.mld").string()).size(), 1u);
}

TEST(FileWalk, ResultPathsHaveOneSeparatorAfterTheFolder) {
  TempDir dir;
  dir.write("a.mld", kSome);
  const auto withSlash = walked(dir.path().string() + "/", "*.mld");
  const auto without = walked(dir.path().string(), "*.mld");
  ASSERT_EQ(withSlash.size(), 1u);
  EXPECT_EQ(withSlash, without);
  EXPECT_EQ(withSlash[0], (dir / "a.mld").string());
}

TEST(FileWalk, NothingForNoFolderOrNoMatch) {
  TempDir dir;
  EXPECT_TRUE(walked("", "*").empty());
  EXPECT_TRUE(walked((dir / "missing").string(), "*").empty());
  EXPECT_TRUE(walked(dir.path().string(), "*.mld").empty());
  dir.write("a.txt", kSome);
  EXPECT_TRUE(walked(dir.path().string(), "*.mld").empty());
}

TEST(FileWalk, FolderLinksNeitherLoopNorLeaveTheTree) {
  TempDir dir;
  TempDir outside;
  outside.write("foreign.mld", kSome);
  dir.write("tree/a.mld", kSome);
  dir.write("tree/sub/b.mld", kSome);
  fs::create_directory_symlink("..", dir / "tree/sub/up");
  fs::create_directory_symlink(dir / "tree", dir / "tree/sub/root");
  fs::create_directory_symlink(outside.path(), dir / "tree/away");
  fs::create_directory_symlink(dir / "tree/sub", dir / "tree/sideways");
  // A link to a file is a file of its folder, as it is for the user.
  fs::create_symlink(dir / "tree/a.mld", dir / "tree/sub/alias.mld");

  auto found = names(walked((dir / "tree").string(), "*.mld"), dir / "tree");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"a.mld", "sub/alias.mld", "sub/b.mld"}));
}

TEST(FileWalk, StartFolderMayItselfBeALink) {
  TempDir dir;
  dir.write("real/a.mld", kSome);
  fs::create_directory_symlink(dir / "real", dir / "link");
  const auto found = walked((dir / "link").string(), "*.mld");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], (dir / "link/a.mld").string());
}

TEST(FileWalk, UnreadableFolderContributesNothing) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  TempDir dir;
  dir.write("a.mld", kSome);
  dir.write("locked/b.mld", kSome);
  fs::permissions(dir / "locked", fs::perms::none);
  const auto found = walked(dir.path().string(), "*.mld");
  fs::permissions(dir / "locked", fs::perms::owner_all);
  EXPECT_EQ(found.size(), 1u);
}

TEST(PatternMatch, Wildcards) {
  using tonekit::likeMatch;
  EXPECT_TRUE(likeMatch("/music/song.mld", "*.MLD"));
  EXPECT_TRUE(likeMatch("a/b/c", "*"));
  EXPECT_TRUE(likeMatch("", "*"));
  EXPECT_FALSE(likeMatch("song.mld.bak", "*.mld"));
  EXPECT_TRUE(likeMatch("x.mld.mld", "*.mld"));
  EXPECT_TRUE(likeMatch("ab", "a?"));
  EXPECT_FALSE(likeMatch("a", "a?"));
  EXPECT_TRUE(likeMatch("きら.mld", "??.mld"));  // one character, not one byte
  EXPECT_TRUE(likeMatch("track07.mld", "track##.mld"));
  EXPECT_FALSE(likeMatch("track7x.mld", "track##.mld"));
  EXPECT_TRUE(likeMatch("b.mld", "[a-c].mld"));
  EXPECT_TRUE(likeMatch("B.mld", "[a-c].mld"));
  EXPECT_FALSE(likeMatch("d.mld", "[a-c].mld"));
  EXPECT_TRUE(likeMatch("d.mld", "[!a-c].mld"));
  EXPECT_FALSE(likeMatch("a.mld", "[!a-c].mld"));
  EXPECT_TRUE(likeMatch("-.mld", "[-x].mld"));
  EXPECT_TRUE(likeMatch("*.mld", "[*].mld"));
  EXPECT_FALSE(likeMatch("x.mld", "[*].mld"));
  EXPECT_TRUE(likeMatch("[a.mld", "[a.mld"));  // no closing bracket: a plain character
  EXPECT_TRUE(likeMatch("ab", "a[]b"));
  EXPECT_TRUE(likeMatch(std::string("\xff.mld"), "?.mld"));
  EXPECT_TRUE(likeMatch("aXbXc", "a*b*c"));
  EXPECT_FALSE(likeMatch("aXbXd", "a*b*c"));
}

TEST(PatternMatch, PiecesOfAPatternListAndEmptyPieces) {
  TempDir dir;
  dir.write("a.mid", kSome);
  dir.write("b.txt", kSome);
  dir.write("c ", kSome);
  EXPECT_EQ(walked(dir.path().string(), ";*.MID;;*/c ").size(), 2u);  // empty pieces match nothing
  EXPECT_TRUE(walked(dir.path().string(), "").empty());
}

// A chain of folders whose paths pass the system's limit, made through descriptors (by path it
// could not be); a file named file.mld at each level in levels.
void makeDeepChain(const fs::path& top, int depth, const std::vector<int>& levels) {
  const std::string name(200, 'd');
  int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 1; level <= depth; ++level) {
    ::mkdirat(fd, name.c_str(), 0755);
    const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
    if (std::find(levels.begin(), levels.end(), level) != levels.end())
      ::close(::openat(fd, "file.mld", O_CREAT | O_WRONLY, 0644));
  }
  ::close(fd);
}

TEST(FileWalk, AnyDepthIsWalkedAndPathsTooLongToOpenAreCounted) {
  TempDir dir;
  makeDeepChain(dir.path(), 30, {1, 15, 25, 30});  // levels 25 and 30 pass 4,096 bytes
  std::vector<std::string> paths;
  const auto report = clsFileList().walkFiles(dir.path().string(), "*.mld", [&](const tonekit::FoundFile& file) { paths.push_back(file.path); });
  EXPECT_EQ(report.found, 2u);
  EXPECT_EQ(paths.size(), 2u);
  EXPECT_EQ(report.unusablePaths, 2u);
}

TEST(FileWalk, LeftoversOfKilledSavesAndUnreadableStartsAreNoFiles) {
  TempDir dir;
  dir.write("a.mld", kSome);
  dir.write(".a.mld.tonekit-0123456789ab", kSome);
  EXPECT_EQ(walked(dir.path().string(), "*").size(), 1u);
  EXPECT_EQ(tonekit::test::failureNumber([&] { clsFileList().walkFiles((dir / "a.mld").string(), "*", [](const tonekit::FoundFile&) {}); }),
            tonekit::err::PathNotFound);
}

}  // namespace
