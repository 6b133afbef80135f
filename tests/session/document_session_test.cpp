// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "Failures.h"
#include "MldBuilder.h"
#include "RingtoneBuilder.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "base/Failure.h"
#include "session/DocumentSession.h"

namespace fs = std::filesystem;
using tonekit::ByteString;
using tonekit::DocumentSession;
using tonekit::test::TempDir;

namespace {

ByteString titleOf(const fs::path& file) {
  DocumentSession read;
  read.open(file.string());
  return read.document().MLDTitl;
}

// The same file named another way is still the file in hand: the save goes onto it, and is
// refused once another file stands under the name.
TEST(DocumentSession, ASaveUnderAnotherSpellingOfTheFileStillLandsOnlyOnTheFileRead) {
  TempDir dir;
  const fs::path file = dir.write("tune.mld", tonekit::mldtest::ringtoneMld(16));
  DocumentSession session;
  ASSERT_TRUE(session.open(file.string()));
  session.setChunk("titl", tonekit::bytesOf("Kaeru"));
  const std::string otherSpelling = (dir / "." / "sub" / ".." / "tune.mld").string();
  EXPECT_TRUE(session.holdsFile(otherSpelling));
  session.saveAs(otherSpelling);
  EXPECT_EQ(titleOf(file), tonekit::bytesOf("Kaeru"));

  // Another program saves its own file under the name.
  const ByteString theirs = tonekit::mldtest::ringtoneMld(8);
  dir.write("theirs.mld", theirs);
  ASSERT_EQ(std::rename((dir / "theirs.mld").c_str(), file.c_str()), 0);
  session.setChunk("titl", tonekit::bytesOf("Mine"));
  EXPECT_EQ(tonekit::test::failureNumber([&] { session.saveAs(otherSpelling); }), tonekit::err::PathFileAccess);
  EXPECT_EQ(TempDir::read(file), theirs);
}

TEST(DocumentSession, OnlyTagsTheFormatOrTheFileKnowsMayChange) {
  TempDir dir;
  using namespace tonekit::mldtest;
  const fs::path file = dir.write("later.mld", mld({chunk("titl", tonekit::bytesOf("A")), chunk("xtra", {1})},
                                                   {laterTrack(0, 3, 2)}, 5, 1));
  EXPECT_TRUE(DocumentSession::isTag("zzzz"));
  EXPECT_FALSE(DocumentSession::isTag("Titl"));
  DocumentSession session;
  session.open(file.string());
  EXPECT_TRUE(session.mayChange("vers"));
  EXPECT_TRUE(session.mayChange("cuep"));   // a later version's chunk, absent here
  EXPECT_TRUE(session.mayChange("xtra"));   // unknown, but the file has it
  EXPECT_FALSE(session.mayChange("tilt"));  // a typing slip adds nothing
  session.enableChunk("cuep");
  session.disableChunk("xtra");
  ASSERT_NE(session.document().otherChunk("cuep"), nullptr);
  EXPECT_EQ(session.document().otherChunk("xtra"), nullptr);
}

TEST(DocumentSession, ChangedTracksAndUnsavedImportsAreModifiedUntilSaved) {
  TempDir dir;
  const fs::path file = dir.write("tune.mld", tonekit::mldtest::ringtoneMld(16));
  DocumentSession session;
  session.open(file.string());
  EXPECT_FALSE(session.isModified());
  ByteString edited = session.document().MLDTracData->item("trac1");
  edited[9] ^= 0x01;
  // A track the file does not have is never added by a replace.
  EXPECT_EQ(tonekit::test::failureNumber([&] { session.replaceTrack(4, edited); }), tonekit::err::IndexOutOfRange);
  EXPECT_FALSE(session.isModified());
  session.replaceTrack(1, edited);
  EXPECT_TRUE(session.isModified());
  session.saveAs((dir / "copy.mld").string());
  EXPECT_FALSE(session.isModified());
  EXPECT_EQ(session.file(), (dir / "copy.mld").string());

  // A failed import keeps the document in hand; a good one is unsaved until its first save.
  using namespace tonekit::smftest;
  const fs::path midi = dir.write("song.mid", header(0, 1, 480) + track({noteOnOff(60), noteOnOff(64)}));
  const fs::path broken = dir.write("broken.mid", tonekit::bytesOf("MThd"));
  EXPECT_THROW(session.importMidi(broken), tonekit::Failure);
  EXPECT_EQ(session.file(), (dir / "copy.mld").string());
  session.importMidi(midi);
  EXPECT_TRUE(session.neverSaved());
  EXPECT_TRUE(session.isModified());
  EXPECT_TRUE(session.file().empty());
  EXPECT_THROW(session.save(), tonekit::Failure);  // no file holds it yet

  // A read that fails leaves nothing of the document before.
  EXPECT_THROW(session.open((dir / "missing.mld").string()), tonekit::Failure);
  EXPECT_FALSE(session.hasDocument());
  EXPECT_FALSE(session.isModified());
}

// The melody with a track as the editor holds it is still the whole document's: its title and
// its recorded sound go with it.
TEST(DocumentSession, TheMelodyWithAnEditedTrackKeepsTheDocumentsTitleAndSound) {
  TempDir dir;
  DocumentSession session;
  session.open(dir.write("se.mld", tonekit::mldtest::mfi4Effect()).string());
  const auto melody = session.melody(std::nullopt, tonekit::sound::EditedTrack{0, {}});
  ASSERT_EQ(melody.tracks.size(), 1u);
  EXPECT_TRUE(melody.tracks[0].empty());
  EXPECT_EQ(melody.title, tonekit::bytesOf("se01"));
  EXPECT_EQ(melody.audioChunks.size(), 1u);
}

}  // namespace
