// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Reading and writing MLD documents: the layout, the reader's messages and the safe save.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "Failures.h"
#include "MldBuilder.h"
#include "TempDir.h"
#include "mld/clsMLD.h"

using namespace tonekit;
using tonekit::test::failureNumber;
using tonekit::test::TempDir;

namespace {

void put(ByteString& to, std::initializer_list<int> bytes) {
  for (int b : bytes) to.push_back(static_cast<std::uint8_t>(b));
}
void put(ByteString& to, const std::string& ascii) { to.insert(to.end(), ascii.begin(), ascii.end()); }

using mldtest::chunk;
const auto trac = mldtest::track;
const ByteString kEnd = mldtest::kEndOfTrack;

// A consistent file: both lengths right, the count byte as given.
ByteString file(const std::vector<ByteString>& chunks, const std::vector<ByteString>& tracks, int count = -1) {
  return mldtest::mld(chunks, tracks, 1, 0, count);
}

struct Read {
  std::unique_ptr<clsMLD> doc;
  bool complete;
  CollectingMessageSink messages;
};

Read readBytes(const TempDir& dir, const ByteString& bytes, const std::string& name = "in.mld") {
  Read r{std::make_unique<clsMLD>(), false, {}};
  r.doc->MLDFile = dir.write(name, bytes).string();
  r.complete = r.doc->ParseMLD(&r.messages);
  return r;
}

}  // namespace

TEST(MLDReader, ReadsTheSmallestWholeFile) {
  TempDir dir;
  // 4 identifier bytes, file length 24, offset 10, types 1/0, count 1, "titl" with one byte,
  // one track chunk of 4 data bytes: 32 bytes in all.
  ByteString bytes = bytesOf("melo");
  put(bytes, {0, 0, 0, 0x18, 0, 0x0A, 1, 0, 1});
  put(bytes, "titl");
  put(bytes, {0, 1, 'A'});
  put(bytes, "trac");
  put(bytes, {0, 0, 0, 4, 0, 0xFF, 0xDF, 0});
  ASSERT_EQ(bytes.size(), 32u);
  auto r = readBytes(dir, bytes);
  EXPECT_TRUE(r.complete);
  EXPECT_TRUE(r.messages.entries.empty());
  EXPECT_TRUE(r.doc->MLDTitlEnabled);
  EXPECT_EQ(r.doc->MLDTitl, ByteString{'A'});
  ASSERT_EQ(r.doc->MLDTracData->count(), 1u);
  EXPECT_EQ(r.doc->MLDTracData->item("trac0").size(), 12u);

  r.doc->MLDFile = (dir / "out.mld").string();
  EXPECT_NO_THROW(r.doc->SaveMLD());
  EXPECT_EQ(TempDir::read(dir / "out.mld"), bytes);
}

TEST(MLDReader, ChunksInAnyOrderLaterDuplicateWinsEmptyChunkIsPresent) {
  TempDir dir;
  auto r = readBytes(dir, file({chunk("titl", bytesOf("one")), chunk("exst", {}), chunk("vers", bytesOf("0200")),
                                chunk("titl", bytesOf("two"))},
                               {trac(kEnd)}));
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.doc->MLDTitl, bytesOf("two"));
  EXPECT_TRUE(r.doc->MLDExstEnabled);
  EXPECT_TRUE(r.doc->MLDExst.empty());
  EXPECT_EQ(r.doc->MLDVers, bytesOf("0200"));
  EXPECT_FALSE(r.doc->MLDNoteEnabled);
  EXPECT_TRUE(r.doc->MLDNote.empty());
}

TEST(MLDReader, UnknownTagStopsWithMessageAndKeepsOnlyTheHeader) {
  TempDir dir;
  auto r = readBytes(dir, file({chunk("vers", bytesOf("0100")), chunk("TITL", bytesOf("x"))}, {trac(kEnd)}));
  EXPECT_FALSE(r.complete);
  EXPECT_FALSE(r.doc->readComplete());
  ASSERT_EQ(r.messages.entries.size(), 1u);
  EXPECT_EQ(r.messages.entries[0].text, "処理できないファイルフォーマットのようです。");
  EXPECT_EQ(r.messages.entries[0].icon, MessageIcon::None);
  EXPECT_FALSE(r.doc->MLDVersEnabled);  // values are taken only after the whole information part
  EXPECT_EQ(r.doc->MLDTracData->count(), 0u);
  EXPECT_EQ(r.doc->MLDTracCount, ByteString{1});

  // Saving would drop the tracks: refused, nothing written.
  r.doc->MLDFile = (dir / "out.mld").string();
  EXPECT_THROW(r.doc->SaveMLD(), Failure);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mld"));
}

TEST(MLDReader, TrackCountMismatchIsToldAndEveryChunkKept) {
  TempDir dir;
  auto r = readBytes(dir, file({}, {trac(kEnd), trac(kEnd), trac(kEnd)}, 2));
  EXPECT_TRUE(r.complete);
  ASSERT_EQ(r.messages.entries.size(), 1u);
  EXPECT_EQ(r.messages.entries[0].text,
            "ファイルヘッダのトラック数と、トラックデータの数が違います。\r\nファイルヘッダ　 : 2\r\nトラックデータ数 : 3");
  EXPECT_EQ(r.messages.entries[0].icon, MessageIcon::Information);
  EXPECT_TRUE(r.doc->MLDTracData->contains("trac2"));

  // The count byte says 2: only trac0 and trac1 are written.
  r.doc->MLDFile = (dir / "out.mld").string();
  ASSERT_NO_THROW(r.doc->SaveMLD());
  clsMLD back;
  back.MLDFile = (dir / "out.mld").string();
  CollectingMessageSink quiet;
  back.ParseMLD(&quiet);
  EXPECT_TRUE(quiet.entries.empty());
  EXPECT_EQ(back.MLDTracData->count(), 2u);
}

TEST(MLDReader, LastChunkRunningPastTheEndIsKeptAsFarAsItGoes) {
  TempDir dir;
  ByteString bytes = file({chunk("titl", bytesOf("t"))}, {trac(kEnd), trac({1, 2, 3, 4, 5, 6, 7, 8})});
  bytes[bytes.size() - 9] = 0x40;  // second chunk claims far more data than there is
  auto r = readBytes(dir, bytes);
  EXPECT_TRUE(r.complete);
  ASSERT_EQ(r.doc->MLDTracData->count(), 2u);
  EXPECT_EQ(r.doc->MLDTracData->item("trac1").size(), 16u);
}

TEST(MLDReader, LengthsPointingPastTheFileFailClearly) {
  TempDir dir;
  // Header claims a huge file: the track part is what is really there.
  ByteString huge = file({}, {trac(kEnd)});
  huge[4] = 0x7F;
  auto r = readBytes(dir, huge);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.doc->MLDTracData->item("trac0"), trac(kEnd));

  // An information chunk whose data runs past the end.
  ByteString cut = file({chunk("titl", bytesOf("abc"))}, {trac(kEnd)});
  cut.resize(13 + 6 + 2);
  EXPECT_EQ(failureNumber([&] { readBytes(dir, cut, "cut.mld"); }), err::InputPastEnd);

  // Shorter than a header.
  EXPECT_EQ(failureNumber([&] { readBytes(dir, bytesOf("melo\0\0"), "short.mld"); }), err::InputPastEnd);

  // No room for a track chunk head.
  ByteString noTrack = file({chunk("titl", bytesOf("a"))}, {});
  noTrack.push_back(0x00);
  noTrack[7] += 1;
  EXPECT_EQ(failureNumber([&] { readBytes(dir, noTrack, "notrack.mld"); }), err::IndexOutOfRange);

  // Track part size below 1.
  ByteString tiny = file({}, {trac(kEnd)});
  tiny[4] = tiny[5] = tiny[6] = tiny[7] = 0;
  EXPECT_EQ(failureNumber([&] { readBytes(dir, tiny, "tiny.mld"); }), err::IndexOutOfRange);
}

TEST(MLDReader, MissingFileAndSecondReadFail) {
  TempDir dir;
  clsMLD doc;
  doc.MLDFile = (dir / "nothing.mld").string();
  EXPECT_EQ(failureNumber([&] { doc.ParseMLD(); }), err::FileNotFound);

  auto r = readBytes(dir, file({}, {trac(kEnd)}));
  EXPECT_EQ(failureNumber([&] { r.doc->ParseMLD(); }), err::DuplicateKey);
}

TEST(MLDWriter, FixedOrderAndRecomputedLengths) {
  TempDir dir;
  auto r = readBytes(dir, file({chunk("titl", bytesOf("T")), chunk("prot", bytesOf("P")), chunk("copy", bytesOf("C")),
                                chunk("sorc", {5}), chunk("note", {0, 1}), chunk("vers", bytesOf("V")),
                                chunk("date", bytesOf("D")), chunk("exst", {})},
                               {trac(kEnd)}));
  r.doc->MLDFile = (dir / "out.mld").string();
  ASSERT_NO_THROW(r.doc->SaveMLD());
  const ByteString out = TempDir::read(dir / "out.mld");
  const ByteString expected =
      file({chunk("copy", bytesOf("C")), chunk("date", bytesOf("D")), chunk("exst", {}), chunk("note", {0, 1}),
            chunk("titl", bytesOf("T")), chunk("sorc", {5}), chunk("vers", bytesOf("V")), chunk("prot", bytesOf("P"))},
           {trac(kEnd)});
  EXPECT_EQ(out, expected);
  // Saving the same document twice writes the same file.
  ASSERT_NO_THROW(r.doc->SaveMLD());
  EXPECT_EQ(TempDir::read(dir / "out.mld"), expected);
}

TEST(MLDWriter, DisabledChunksVanishAndHeaderMembersAreOnlyCopies) {
  TempDir dir;
  auto r = readBytes(dir, file({chunk("titl", bytesOf("T")), chunk("copy", bytesOf("C"))}, {trac(kEnd)}));
  for (auto tag : clsMLD::kWriterOrder) r.doc->enabled(tag) = false;
  r.doc->MLDMajortType = {9};  // display copy: not what is written
  r.doc->MLDFile = (dir / "out.mld").string();
  ASSERT_NO_THROW(r.doc->SaveMLD());
  const ByteString out = TempDir::read(dir / "out.mld");
  EXPECT_EQ(out, file({}, {trac(kEnd)}));
  EXPECT_EQ(out[8] * 256 + out[9], 3);
}

TEST(MLDWriter, ValuesThatDoNotFitAreRefusedAndNothingIsWritten) {
  TempDir dir;
  const ByteString original = file({chunk("titl", bytesOf("T"))}, {trac(kEnd)});
  auto r = readBytes(dir, original);

  r.doc->MLDTitl.assign(65536, 'x');
  EXPECT_EQ(failureNumber([&] { r.doc->SaveMLD(); }), err::Overflow);
  EXPECT_EQ(TempDir::read(r.doc->MLDFile), original);

  // Each value fits, but together they push the offset to the track part past two bytes.
  r.doc->MLDTitl.assign(40000, 'x');
  r.doc->MLDCopy.assign(40000, 'y');
  r.doc->MLDCopyEnabled = true;
  ASSERT_THROW(r.doc->SaveMLD(), Failure);
  EXPECT_EQ(TempDir::read(r.doc->MLDFile), original);

  r.doc->MLDTitl = bytesOf("T");
  r.doc->MLDCopyEnabled = false;
  r.doc->MLDTracCount = {2};  // more tracks than the document holds
  EXPECT_EQ(failureNumber([&] { r.doc->SaveMLD(); }), err::IndexOutOfRange);
  EXPECT_EQ(TempDir::read(r.doc->MLDFile), original);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // Bytes after the declared length are never dropped without being asked to.
  ByteString trailing = original;
  trailing.insert(trailing.end(), 18, 0xAB);
  auto t = readBytes(dir, trailing, "trailing.mld");
  EXPECT_TRUE(t.complete);
  EXPECT_EQ(t.doc->trailingBytes(), 18u);
  EXPECT_EQ(failureNumber([&] { t.doc->SaveMLD(); }), err::PathFileAccess);
  EXPECT_EQ(TempDir::read(t.doc->MLDFile), trailing);
  t.doc->dropTrailingBytes();
  t.doc->SaveMLD();
  EXPECT_EQ(TempDir::read(t.doc->MLDFile), original);

  clsMLD neverRead;
  neverRead.MLDFile = (dir / "x.mld").string();
  EXPECT_THROW(neverRead.SaveMLD(), Failure);
  EXPECT_FALSE(std::filesystem::exists(dir / "x.mld"));
}

TEST(MLDWriter, SafeReplaceKeepsModeLinksAndTheOldFileOnFailure) {
  TempDir dir;
  const ByteString original = file({chunk("titl", bytesOf("old"))}, {trac(kEnd)});
  auto r = readBytes(dir, original, "song.mld");
  ::chmod(r.doc->MLDFile.c_str(), 0640);
  std::filesystem::create_symlink("song.mld", dir / "link.mld");

  r.doc->MLDTitl = bytesOf("new");
  r.doc->MLDFile = (dir / "link.mld").string();
  ASSERT_NO_THROW(r.doc->SaveMLD());
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.mld"));
  const ByteString saved = TempDir::read(dir / "song.mld");
  EXPECT_NE(saved, original);
  struct stat st {};
  ::stat((dir / "song.mld").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A target that cannot be written: the failure is reported, no temporary file remains.
  const auto blocker = dir.write("plainfile", {1});
  r.doc->MLDFile = (blocker / "sub.mld").string();
  EXPECT_THROW(r.doc->SaveMLD(), Failure);
  r.doc->MLDFile = dir.path().string();  // a folder
  EXPECT_THROW(r.doc->SaveMLD(), Failure);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
  EXPECT_EQ(TempDir::read(dir / "song.mld"), saved);
}

TEST(Samples, ReadCompletelyAndWriterOrderSampleSurvivesByteForByte) {
  for (const char* name : {"kirakira.mld", "kaeru.mld"}) {
    clsMLD doc;
    doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/" + name;
    CollectingMessageSink messages;
    EXPECT_TRUE(doc.ParseMLD(&messages)) << name;
    EXPECT_TRUE(messages.entries.empty()) << name;
  }
  TempDir dir;
  clsMLD doc;
  doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/kirakira.mld";
  doc.ParseMLD();
  doc.MLDFile = (dir / "copy.mld").string();
  ASSERT_NO_THROW(doc.SaveMLD());
  EXPECT_EQ(TempDir::read(dir / "copy.mld"), TempDir::read(std::string(TONEKIT_SAMPLES_DIR) + "/kirakira.mld"));
}


TEST(MLDLaterFormats, EveryStructureReadsWholeAndSavesByteForByte) {
  TempDir dir;
  for (std::size_t tracks = 1; tracks <= 4; ++tracks) {
    for (std::size_t audios = 0; audios <= 3; ++audios) {
      SCOPED_TRACE(std::to_string(tracks) + " tracks, " + std::to_string(audios) + " adat");
      const ByteString bytes = mldtest::laterMld(tracks, audios, bytesOf("later"), {chunk("zqxw", {1, 2, 3})});
      auto r = readBytes(dir, bytes);
      ASSERT_TRUE(r.complete);
      EXPECT_TRUE(r.messages.entries.empty());
      std::vector<std::string> tags;
      for (const OtherChunk& c : r.doc->MLDOtherChunks) tags.push_back(c.tag);
      EXPECT_EQ(tags, (std::vector<std::string>{"ainf", "auth", "cuep", "supt", "thrd", "code", "zqxw"}));
      EXPECT_EQ(r.doc->MLDOtherChunks.back().value, (ByteString{1, 2, 3}));
      ASSERT_EQ(r.doc->MLDAudioChunks.size(), audios);
      for (std::size_t a = 0; a < audios; ++a) EXPECT_EQ(r.doc->MLDAudioChunks[a].size(), 8 + 1000 + 500 * a);
      EXPECT_EQ(r.doc->MLDTracData->count(), tracks);
      EXPECT_EQ(r.doc->renderMLD(), bytes);
    }
  }
}

TEST(MLDLaterFormats, OnlyFourLowercaseLettersThatFitAreKept) {
  TempDir dir;
  // The length of "zzzz" runs past the information part into the tracks.
  ByteString overlong = chunk("zzzz", {});
  overlong[5] = 40;
  for (const ByteString& bad : {chunk("Supt", bytesOf("x")), chunk("ab1d", bytesOf("x")), overlong}) {
    auto r = readBytes(dir, file({chunk("vers", bytesOf("0500")), bad}, {trac(kEnd)}));
    EXPECT_FALSE(r.complete) << asciiOf(ByteString(bad.begin(), bad.begin() + 4));
    ASSERT_EQ(r.messages.entries.size(), 1u);
    EXPECT_EQ(r.messages.entries[0].text, kUnknownFormatMessage);
    EXPECT_TRUE(r.doc->MLDOtherChunks.empty());
  }
  // A lowercase tag where the file ends, without its length or its data: the same stop.
  ByteString cut = file({chunk("vers", bytesOf("0500"))}, {trac(kEnd)});
  cut.resize(13 + 10);
  cut[9] += 20;  // the header promises more information chunks and a track part
  cut[7] += 60;
  for (const ByteString& tail : {bytesOf("abcd"), ByteString{'a', 'b', 'c', 'd', 0, 9, 'x', 'y'}}) {
    ByteString bytes = cut;
    mldtest::append(bytes, tail);
    EXPECT_FALSE(readBytes(dir, bytes).complete);
  }
  // A tag put in by hand that the reader would not take back is refused on saving.
  auto r = readBytes(dir, file({}, {trac(kEnd)}));
  r.doc->MLDOtherChunks.push_back({"BAD!", {}});
  EXPECT_EQ(failureNumber([&] { r.doc->renderMLD(); }), err::InvalidCall);
}

TEST(MLDLaterFormats, AudioChunksCountOnlyBeforeTheTracks) {
  TempDir dir;
  const ByteString sound = mldtest::audio({1, 2, 3});
  // An "adat" after a track is carried as a track, so that nothing moves on saving.
  const ByteString late = mldtest::mld({}, {trac(kEnd), sound}, 1, 1, -1, {sound});
  auto r = readBytes(dir, late);
  EXPECT_EQ(r.doc->MLDAudioChunks, std::vector<ByteString>{sound});
  ASSERT_EQ(r.doc->MLDTracData->count(), 2u);
  EXPECT_EQ(r.doc->renderMLD(), late);
}

// Audio alone (no track, the header counting none) among them.
TEST(MLDLaterFormats, EveryStartingInputReadsWithoutMessagesAndSavesByteForByte) {
  for (const auto& entry : std::filesystem::directory_iterator(TONEKIT_FUZZ_CORPUS_DIR "/mld")) {
    // The starting inputs are the files named *.mld; what the fuzzer found beside them is any bytes at all.
    if (entry.path().extension() != ".mld") continue;
    if (entry.path().filename() == "kaeru.mld") continue;  // its chunks stand out of the writer's order on purpose
    const ByteString input = TempDir::read(entry.path());
    clsMLD doc;
    CollectingMessageSink messages;
    ASSERT_TRUE(doc.parseBytes(input, &messages)) << entry.path();
    EXPECT_TRUE(messages.entries.empty()) << entry.path();
    EXPECT_EQ(doc.renderMLD(), input) << entry.path();
  }
}
