// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Live races: another user flips links under a folder of theirs while root's batch update applies
// thousands of rows through it. Root's file must not change by one byte, whatever the timing.
// The race runs for TONEKIT_RACE_SECONDS (default 5) and needs root to play both users.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AsUser.h"
#include "MldTestFiles.h"
#include "file_list/BatchUpdate.h"
#include "file_list/ListFile.h"

namespace fs = std::filesystem;
using namespace tonekit;
using namespace tonekit::test;

namespace {

// Applies rows naming path, alternating two titles so that every row writes, until the race's
// time is up; returns how many rows were applied.
std::size_t applyRowsUntilTimeUp(const fs::path& path) {
  const auto end = raceDeadline();
  std::size_t rows = 0;
  while (std::chrono::steady_clock::now() < end || rows < 2000) {
    clsMLDListItem item{path.string(), sjis(rows % 2 ? "A" : "B")};
    applyListItem(item);
    ++rows;
  }
  return rows;
}

struct RaceGround {
  TempDir dir;
  fs::path theirs = dir / "theirs";  // the other user's folder
  fs::path root = dir / "root";      // root's, holding the victim
  fs::path victim;
  ByteString victimBytes;

  RaceGround() {
    fs::permissions(dir.path(), fs::perms(0755));
    fs::create_directories(theirs);
    victim = writeMld(root / "x.mld", sjis("root"));
    victimBytes = TempDir::read(victim);
    writeMld(theirs / "mine" / "x.mld", sjis("theirs"));
    for (const auto& p : fs::recursive_directory_iterator(theirs))
      EXPECT_EQ(::lchown(p.path().c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
  }
  fs::path at(const char* name) const { return theirs / name; }
};

bool canPlayBothUsers() { return ::geteuid() == 0; }

TEST(LinkRace, FlippedLastStepNeverLeadsRootToAnotherOwnersFile) {
  if (!canPlayBothUsers()) GTEST_SKIP() << "needs root to play the other user";
  RaceGround g;
  const fs::path mine = g.at("mine") / "x.mld", x = g.at("x.mld"), y = g.at("y.mld"), tmp = g.at("t.mld");
  fs::create_symlink(mine, x);
  fs::create_symlink(g.victim, y);
  for (const auto& p : {x, y}) ASSERT_EQ(::lchown(p.c_str(), kOtherUser, kOtherUser), 0);
  std::size_t rows = 0;
  {
    // Half the time two links swap places in one step, half a link is made and renamed over.
    unsigned turn = 0;
    RacingChild flipper([&] {
      if (++turn % 2)
        ::renameat2(AT_FDCWD, x.c_str(), AT_FDCWD, y.c_str(), RENAME_EXCHANGE);
      else if (::symlink(turn % 4 == 0 ? g.victim.c_str() : mine.c_str(), tmp.c_str()) == 0)
        ::rename(tmp.c_str(), x.c_str());
      return true;
    });
    rows = applyRowsUntilTimeUp(x);
  }
  EXPECT_GT(rows, 1000u);
  EXPECT_EQ(TempDir::read(g.victim), g.victimBytes);
}

TEST(LinkRace, FlippedFolderStepNeverLeadsRootToAnotherOwnersFolder) {
  if (!canPlayBothUsers()) GTEST_SKIP() << "needs root to play the other user";
  RaceGround g;
  const fs::path sub = g.at("sub"), link = g.at("link");
  fs::rename(g.at("mine"), sub);
  fs::create_symlink(g.root, link);
  ASSERT_EQ(::lchown(link.c_str(), kOtherUser, kOtherUser), 0);
  // Without a race too: the folder link is refused and the message names it.
  const RowResult refused = applyListItem({(link / "x.mld").string(), sjis("A")});
  ASSERT_TRUE(refused.failure);
  EXPECT_EQ(refused.failure->number(), err::PermissionDenied);
  EXPECT_NE(refused.failure->description().find(link.string()), std::string::npos);
  std::size_t rows = 0;
  {
    RacingChild flipper([&] {
      ::renameat2(AT_FDCWD, sub.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
      return true;
    });
    rows = applyRowsUntilTimeUp(sub / "x.mld");
  }
  EXPECT_GT(rows, 1000u);
  EXPECT_EQ(TempDir::read(g.victim), g.victimBytes);
}

// Appending to a list in a folder of theirs while they swap it for a FIFO: a FIFO opened to be
// read waits for a writer, so a look at the list that opens what was swapped in holds the job
// forever (the alarm ends it).
TEST(LinkRace, ListSwappedForAFifoNeverHoldsTheAppend) {
  if (!canPlayBothUsers()) GTEST_SKIP() << "needs root to play the other user";
  RaceGround g;
  const fs::path list = g.at("list.csv"), fifo = g.at("fifo");
  g.dir.write("theirs/list.csv", sjis("/m/a.mld,A\r\n"));
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  for (const auto& p : {list, fifo}) ASSERT_EQ(::lchown(p.c_str(), kOtherUser, kOtherUser), 0);
  int result = 0;
  {
    RacingChild swapper([&] {
      ::renameat2(AT_FDCWD, list.c_str(), AT_FDCWD, fifo.c_str(), RENAME_EXCHANGE);
      return true;
    });
    result = inChild([&] {
      ::alarm(120);
      const auto end = raceDeadline();
      for (std::size_t appends = 0; std::chrono::steady_clock::now() < end || appends < 500; ++appends) {
        try {
          appendListFile(list, {{"/m/b.mld", sjis("B")}});
        } catch (const Failure&) {
          // the FIFO, when the append met it
        }
      }
      return 0;
    }, false);
  }
  EXPECT_EQ(result, 0) << "the append was held (254: killed by the alarm)";
}

}  // namespace
