// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <new>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "AsUser.h"
#include "TempDir.h"
#include "base/AppFolder.h"
#include "base/SafeFile.h"
#include "mld/clsMLD.h"
#include "Failures.h"

namespace fs = std::filesystem;
using namespace tonekit;
using tonekit::test::inChild;
using tonekit::test::kOtherUser;
using tonekit::test::TempDir;

namespace {

const ByteString kOld{'o', 'l', 'd'};
const ByteString kNew{'n', 'e', 'w', '!'};

// The number of the failure a save or an append raised; 0 when it succeeded.
long saved(const fs::path& path, const ByteString& content, std::optional<FileIdentity> expected = std::nullopt) {
  return test::failureNumber([&] { replaceFileSafely(path, content, expected); });
}
long appended(const fs::path& path, const ByteString& bytes, LinkRule links = LinkRule::FollowOwned) {
  return test::failureNumber([&] { appendToFile(path, bytes, links); });
}

long readNumber(const fs::path& path) { return test::failureNumber([&] { readWholeFile(path); }); }

// Only the files a test made: no temporary or backup file stayed.
std::size_t entries(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(SafeFile, SaveRefusesAFileSwappedOrRelinkedSinceTheRead) {
  TempDir dir;
  const auto victim = dir.write("victim", kOld);
  const auto x = dir.write("x.mld", kOld);
  FileIdentity read;
  readWholeFile(x, &read);
  fs::rename(x, dir / "read.mld");  // kept, so that its inode cannot come back
  fs::create_symlink(victim, x);     // our own link, so only the identity stops it
  EXPECT_EQ(saved(x, kNew, read), err::PathFileAccess);
  fs::remove(x);
  dir.write("x.mld", kOld);  // another file under the old name
  EXPECT_EQ(saved(x, kNew, read), err::PathFileAccess);
  EXPECT_EQ(TempDir::read(victim), kOld);
  EXPECT_EQ(entries(dir.path()), 3u);
}

TEST(SafeFile, LinksOfAnotherUserAreFollowedOnlyToThatUsersFiles) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link away";
  TempDir dir;
  const auto rootFile = dir.write("root-owned", kOld);
  const auto theirs = dir.write("theirs", kOld);
  ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
  fs::create_symlink(rootFile, dir / "planted.mld");
  fs::create_symlink(theirs, dir / "fair.mld");
  for (const char* link : {"planted.mld", "fair.mld"}) ASSERT_EQ(::lchown((dir / link).c_str(), kOtherUser, kOtherUser), 0);
  EXPECT_EQ(readNumber(dir / "planted.mld"), err::PermissionDenied);
  EXPECT_EQ(test::failureNumber([&] { readFileStart(dir / "planted.mld", 4); }), err::PermissionDenied);
  EXPECT_EQ(saved(dir / "planted.mld", kNew), err::PermissionDenied);
  EXPECT_EQ(TempDir::read(rootFile), kOld);
  EXPECT_EQ(saved(dir / "fair.mld", kNew), 0);
  EXPECT_EQ(TempDir::read(theirs), kNew);
}

// Links as systems and colleagues make them, followed by an ordinary user: root's links (a folder
// of the user's under /srv, /home -> var/home, HOME behind /u/alice), a colleague's link in the
// shared group folder the colleague keeps. A link of a stranger in root's folder stays refused,
// and a refused read says it could not read.
TEST(SafeFile, LinksThatEverySystemHasAreFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make the links";
  constexpr uid_t kColleague = 4242;
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  const auto home = dir / "var/home/alice";
  const auto song = dir.write("var/home/alice/music/a.mld", kOld);
  for (const auto& p : {home, home / "music", song}) ASSERT_EQ(::chown(p.c_str(), kOtherUser, kOtherUser), 0);
  fs::create_directory(dir / "srv");
  fs::create_symlink(home / "music", dir / "srv/music");
  fs::create_symlink("var/home", dir / "home");
  // HOME behind root's link to the user's folder, as autofs-style /u/alice has it.
  fs::create_directory(dir / "u");
  fs::create_symlink(home, dir / "u/alice");
  const auto pub = dir.write("pub/x.mld", kOld);
  fs::create_directory(dir / "team");
  fs::permissions(dir / "team", fs::perms(02775));
  ASSERT_EQ(::chown((dir / "team").c_str(), kColleague, kColleague), 0);
  fs::create_symlink(dir / "pub", dir / "team/songs");
  fs::create_symlink(home / "music", dir / "pub/stranger");
  ASSERT_EQ(::lchown((dir / "team/songs").c_str(), kColleague, kColleague), 0);
  ASSERT_EQ(::lchown((dir / "pub/stranger").c_str(), kColleague, kColleague), 0);
  const char* savedHome = std::getenv("HOME");
  const std::string homeBefore = savedHome ? savedHome : "";
  ::setenv("HOME", (dir / "u/alice").c_str(), 1);
  // Each way in is its own bit, so that every one is seen to hold, not only the first.
  const int result = inChild([&] {
    int failed = 0;
    if (readNumber(dir / "srv/music/a.mld") || saved(dir / "home/alice/music/a.mld", kNew)) failed |= 1;
    if (readNumber(dir / "team/songs/x.mld")) failed |= 2;
    if (test::failureNumber([] { privateDataFolder(); }) || !fs::is_directory(home / ".local/share/tonekit")) failed |= 4;
    try {
      readWholeFile(dir / "pub/stranger/a.mld");
      failed |= 8;
    } catch (const RefusedLink& refused) {
      if (refused.number() != err::PermissionDenied || refused.description().rfind("読み込みできません。", 0) != 0) failed |= 16;
    }
    if (saved(dir / "pub/stranger/a.mld", kNew) != err::PermissionDenied) failed |= 32;
    return failed;
  }, true);
  savedHome ? ::setenv("HOME", homeBefore.c_str(), 1) : ::unsetenv("HOME");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(TempDir::read(song), kNew);
}

// Where the kernel lets anyone give another user's file a second name (protected_hardlinks 0),
// root must not write that file through the name a third user gave it in a folder of theirs.
TEST(SafeFile, HardLinksOfAnotherUsersFileAreNotWritten) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to play the users";
  constexpr uid_t kVictim = 4242;
  TempDir dir;
  const auto victim = dir.write("victim/a.mld", kOld);
  ASSERT_EQ(::chown(victim.c_str(), kVictim, kVictim), 0);
  fs::create_directory(dir / "theirs");
  ASSERT_EQ(::chown((dir / "theirs").c_str(), kOtherUser, kOtherUser), 0);
  fs::create_hard_link(victim, dir / "theirs/x.mld");
  try {
    replaceFileSafely(dir / "theirs/x.mld", kNew);
    ADD_FAILURE() << "written";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), err::PermissionDenied);
    EXPECT_NE(failure.description().find("ハードリンク"), std::string::npos);
  }
  EXPECT_EQ(TempDir::read(victim), kOld);
}

TEST(SafeFile, SaveKeepsOwnerModeAttributesAclAndHardLinks) {
  TempDir dir;
  const auto f = dir.write("a.mld", kOld);
  fs::permissions(f, fs::perms(0640));
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(f.c_str(), kOtherUser, kOtherUser), 0);
  }
  // An ACL granting user 1234 read: version 2, then (tag, permissions, id) entries of 8 bytes.
  const std::vector<std::uint8_t> acl{2, 0, 0, 0, 1,    0, 6, 0, 255, 255, 255, 255, 2,    0, 4, 0, 0xd2, 4,
                                      0, 0, 4, 0, 4,    0, 255, 255, 255, 255, 0x10, 0, 4, 0, 255, 255, 255, 255,
                                      0x20, 0, 0, 0, 255, 255, 255, 255};
  const bool attrs = ::setxattr(f.c_str(), "user.tonekit", "v", 1, 0) == 0 &&
                     ::setxattr(f.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
  struct stat before {};
  ASSERT_EQ(::stat(f.c_str(), &before), 0);

  ASSERT_EQ(saved(f, kNew), 0);
  struct stat after {};
  ASSERT_EQ(::stat(f.c_str(), &after), 0);
  EXPECT_EQ(TempDir::read(f), kNew);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  if (attrs) {
    char value[2] = {};
    EXPECT_EQ(::getxattr(f.c_str(), "user.tonekit", value, sizeof value), 1);
    EXPECT_EQ(::getxattr(f.c_str(), "system.posix_acl_access", nullptr, 0), static_cast<ssize_t>(acl.size()));
  }

  // A second name: saved in place, both names see the new content, no backup stays. (Root
  // writes only its own or the folder owner's files with several names.)
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(f.c_str(), 0, 0), 0);
  }
  fs::create_hard_link(f, dir / "b.mld");
  ASSERT_EQ(saved(f, kOld), 0);
  EXPECT_EQ(TempDir::read(dir / "b.mld"), kOld);
  struct stat inPlace {};
  ASSERT_EQ(::stat(f.c_str(), &inPlace), 0);
  EXPECT_EQ(inPlace.st_ino, after.st_ino);
  EXPECT_EQ(entries(dir.path()), 2u);
}

TEST(SafeFile, FilesPlantedInAStickyFolderAreNotWritten) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant another user's file";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(01777));
  const auto planted = dir.write("x.mld", kOld);
  fs::permissions(planted, fs::perms(0666));
  ASSERT_EQ(::chown(planted.c_str(), kOtherUser, kOtherUser), 0);
  EXPECT_EQ(saved(planted, kNew), err::PermissionDenied);
  EXPECT_EQ(appended(planted, kNew), err::PermissionDenied);
  EXPECT_EQ(TempDir::read(planted), kOld);
  EXPECT_EQ(saved(dir / "own.mld", kNew), 0);  // the folder owner's and new files are fine
}

TEST(SafeFile, UserShutOutByTheAclNeverOpensASavesTemporaryFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to play the shut-out user";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  const auto f = dir.write("a.mld", kOld);
  fs::permissions(f, fs::perms(0644));
  // user::rw-, user:65534:---, group::r--, mask::r--, other::r--
  const std::vector<std::uint8_t> acl{2, 0, 0, 0, 1, 0, 6, 0, 255, 255, 255, 255, 2, 0, 0, 0, 0xfe, 0xff, 0, 0,
                                      4, 0, 4, 0, 255, 255, 255, 255, 0x10, 0, 4, 0, 255, 255, 255, 255,
                                      0x20, 0, 4, 0, 255, 255, 255, 255};
  if (::setxattr(f.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
    GTEST_SKIP() << "no ACLs on this file system";
  const std::string folder = dir.path().string();
  test::RacingChild reader([&] {
    for (const auto& entry : fs::directory_iterator(folder))
      if (isLeftoverTempName(entry.path().filename().string()) && ::open(entry.path().c_str(), O_RDONLY) >= 0)
        return false;
    return true;
  });
  for (const auto end = test::raceDeadline(); std::chrono::steady_clock::now() < end && reader.running();)
    ASSERT_EQ(saved(f, kNew), 0);
  EXPECT_FALSE(reader.breached());
}

TEST(SafeFile, ReadOnlyFilesFailAndLongNamesSave) {
  TempDir dir;
  const auto ro = dir.write("ro.mld", kOld);
  fs::permissions(ro, fs::perms(0444));
  EXPECT_EQ(saved(ro, kNew), err::PathFileAccess);
  EXPECT_EQ(TempDir::read(ro), kOld);
  const auto longName = dir.write(std::string(250, 'n') + ".mld", kOld);
  EXPECT_EQ(saved(longName, kNew), 0);
  EXPECT_EQ(entries(dir.path()), 2u);
}

TEST(SafeFile, AsAnotherUserTheFolderAndPermissionsDecideTheRoad) {
  TempDir dir;
  // Root's folder: the other user may write the 0666 file in it (in place, the backup going to
  // its own data folder), not the 0644 one; a missing folder and a private file read as such.
  fs::permissions(dir.path(), fs::perms(0755));
  const auto shared = dir.write("shared.mld", kOld);
  fs::permissions(shared, fs::perms(0666));
  const auto mine = dir.write("mine.mld", kOld);
  const auto secret = dir.write("secret.mld", kOld);
  fs::permissions(secret, fs::perms(0600));
  fs::create_directory(dir / "data");
  ASSERT_EQ(::chown((dir / "data").c_str(), kOtherUser, kOtherUser), 0);
  ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  const int result = inChild([&] {
    if (saved(shared, kNew)) return 1;
    if (saved(mine, kNew) != err::PathFileAccess) return 2;
    if (readNumber(secret) != err::PermissionDenied) return 3;
    if (readNumber(dir / "none" / "x.mld") != err::PathNotFound || readNumber(dir / "x.mld") != err::FileNotFound) return 4;
    return entries(dir / "data" / "tonekit") == 0 ? 0 : 5;
  }, true);
  ::unsetenv("XDG_DATA_HOME");
  if (result < 0) GTEST_SKIP() << "needs root to become another user";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(TempDir::read(shared), kNew);
  EXPECT_EQ(TempDir::read(mine), kOld);
}

TEST(SafeFile, SpecialAndGiantFilesAreNeverRead) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo.mld").c_str(), 0600), 0);
  EXPECT_EQ(readNumber(dir / "fifo.mld"), err::PathFileAccess);  // without hanging
  EXPECT_EQ(saved(dir / "fifo.mld", kNew), err::PathFileAccess);
  EXPECT_EQ(appended(dir / "fifo.mld", kNew), err::PathFileAccess);
  EXPECT_EQ(readNumber("/dev/zero"), err::PathFileAccess);
  fs::resize_file(dir.write("big.mld", kOld), kLargestReadableFile + 1);  // sparse
  EXPECT_EQ(readNumber(dir / "big.mld"), err::PathFileAccess);
  // Their start is looked at: nothing of a special file, the head of a giant one.
  EXPECT_EQ(readFileStart(dir / "fifo.mld", 4), std::nullopt);
  EXPECT_EQ(readFileStart("/dev/zero", 4), std::nullopt);
  EXPECT_EQ(readFileStart(dir / "absent.mld", 4), std::nullopt);
  EXPECT_EQ(readFileStart(dir / "big.mld", 4), (ByteString{'o', 'l', 'd', 0}));
  EXPECT_EQ(readFileStart(dir / "big.mld", SIZE_MAX)->size(), kLargestReadableFile);
  EXPECT_EQ(readFileStart(dir.write("small.mld", kOld), 4), kOld);
}

TEST(SafeFile, FullDiskIsSaidAndLeavesNothingBehind) {
  TempDir dir;
  const auto f = dir.write("a.mld", kOld);
  // Saved in place (a second name), where the backup copy is what meets the limit.
  const ByteString bigOld(6000, 'o');
  const auto linked = dir.write("linked.mld", bigOld);
  fs::create_hard_link(linked, dir / "second.mld");
  // The file size limit is met without the test ignoring its signal: the program does.
  const int result = inChild(
      [&] {
        const ByteString big(8192, 'x');
        if (saved(f, big) != err::DiskFull) return 1;
        if (appended(dir / "errors.csv", big) != err::DiskFull) return 2;
        try {
          replaceFileSafely(linked, kNew);
        } catch (const Failure& failure) {
          const bool namesTheFile = failure.description().find(linked.string()) != std::string::npos;
          return failure.number() == err::DiskFull && namesTheFile ? 0 : 3;
        }
        return 4;
      },
      false, 4096);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(TempDir::read(f), kOld);
  EXPECT_EQ(TempDir::read(linked), bigOld);
  EXPECT_EQ(entries(dir.path()), 3u);
}

// Whatever stops the writer of an in-place save, the file gets its old bytes back and no copy
// stays behind.
TEST(SafeFile, InPlaceSaveRestoresTheFileOnAnyException) {
  TempDir dir;
  const auto f = dir.write("a.wav", kOld);
  fs::create_hard_link(f, dir / "b.wav");
  EXPECT_THROW(replaceFileSafely(f, [](int fd, const std::string&) {
    if (::write(fd, "xx", 2) != 2) return;
    throw std::bad_alloc();
  }), std::bad_alloc);
  EXPECT_EQ(TempDir::read(f), kOld);
  EXPECT_EQ(TempDir::read(dir / "b.wav"), kOld);
  EXPECT_EQ(entries(dir.path()), 2u);
}

// An in-place save killed while the file is half written leaves its backup, which a read of the
// damaged file finds; what a killed normal save leaves is no backup.
TEST(SafeFile, BackupOfAKilledInPlaceSaveIsFoundBesideTheDamagedFile) {
  TempDir dir;
  const auto f = dir.write("a.mld", kOld);
  fs::create_hard_link(f, dir / "b.mld");
  const auto single = dir.write("c.mld", kOld);
  const auto killedIn = [](const fs::path& target) {
    return inChild(
        [&] {
          replaceFileSafely(target, [](int fd, const std::string&) {
            if (::write(fd, "ne", 2) == 2) ::raise(SIGKILL);
          });
          return 0;
        },
        false);
  };
  EXPECT_EQ(killedIn(f), 254);
  EXPECT_EQ(killedIn(single), 254);
  EXPECT_EQ(TempDir::read(f), (ByteString{'n', 'e'}));
  const std::vector<fs::path> backups = leftoverBackupsOf(f);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(TempDir::read(backups[0]), kOld);
  EXPECT_TRUE(leftoverBackupsOf(single).empty());
  EXPECT_TRUE(leftoverBackupsOf(dir / "b.mld").empty());
  // The reader names it (info, list, set and the main window show the reader's messages).
  clsMLD doc;
  doc.MLDFile = f.string();
  CollectingMessageSink messages;
  EXPECT_THROW(doc.ParseMLD(&messages), Failure);
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text, std::string(kLeftoverBackupMessage) + "\r\n" + backups[0].string());
}

TEST(SafeFile, ErrorFilesAreNeverReachedThroughALink) {
  TempDir dir;
  const auto target = dir.write("bashrc", kOld);
  fs::create_symlink(target, dir / "ExecuteError.csv");
  EXPECT_EQ(appended(dir / "ExecuteError.csv", kNew, LinkRule::Never), err::PathFileAccess);
  EXPECT_EQ(TempDir::read(target), kOld);
  EXPECT_TRUE(isLeftoverTempName(".a.mld.tonekit-0123456789ab"));
  EXPECT_FALSE(isLeftoverTempName("a.mld.tonekit-0123456789ab"));
  EXPECT_FALSE(isLeftoverTempName(".a.mld.tonekit-0123"));
}

TEST(AppFolder, DataFolderIsPrivateOrAFailure) {
  TempDir dir;
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  ::unsetenv("HOME");
  EXPECT_EQ(test::failureNumber([] { privateDataFolder(); }), err::PathNotFound);  // never the temporary folder
  ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
  struct stat st {};
  EXPECT_EQ(::stat(privateDataFolder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown((dir / "tonekit").c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_EQ(test::failureNumber([] { privateDataFolder(); }), err::PermissionDenied);
  }
  ::unsetenv("XDG_DATA_HOME");
  if (::geteuid() == 0) {
    // Root with HOME in another user's folder (su without -): that user's .local link is refused
    // before anything is made where it leads.
    const auto theirs = dir / "alice";
    fs::create_directories(theirs);
    fs::create_directories(dir / "etc");
    fs::create_symlink(dir / "etc", theirs / ".local");
    ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
    ASSERT_EQ(::lchown((theirs / ".local").c_str(), kOtherUser, kOtherUser), 0);
    ::setenv("HOME", theirs.c_str(), 1);
    EXPECT_EQ(test::failureNumber([] { privateDataFolder(); }), err::PermissionDenied);
    EXPECT_FALSE(fs::exists(dir / "etc/share"));
  }
  if (home) ::setenv("HOME", savedHome.c_str(), 1);
  else ::unsetenv("HOME");
}

}  // namespace
