// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The information part's rules, without a window.
#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "mld/clsMLD.h"
#include "mld/MldInfo.h"

namespace tonekit::info {
namespace {

TEST(HeaderChoices, OnlyTheValuesTheFormatKnowsHaveAChoice) {
  EXPECT_EQ(majorChoice(1), 0);
  EXPECT_EQ(majorChoice(2), 1);
  EXPECT_FALSE(majorChoice(0));
  EXPECT_FALSE(majorChoice(3));
  EXPECT_EQ(minorChoice(0), 0);
  EXPECT_EQ(minorChoice(2), 2);
  EXPECT_FALSE(minorChoice(3));
  EXPECT_EQ(trackCountChoice(1), 0);
  EXPECT_EQ(trackCountChoice(4), 3);
  EXPECT_FALSE(trackCountChoice(0));
  EXPECT_FALSE(trackCountChoice(5));
}

TEST(HeaderFacts, ADocumentNeverReadHasNone) { EXPECT_THROW(headerFacts(clsMLD{}), Failure); }

struct SorcCase {
  std::uint8_t byte;
  std::optional<Source> source;
  bool copyrighted;
};

class SorcByte : public ::testing::TestWithParam<SorcCase> {};

TEST_P(SorcByte, DecodesToSourceAndCopyright) {
  const SorcFlags flags = decodeSorc({GetParam().byte});
  EXPECT_EQ(flags.source, GetParam().source);
  EXPECT_EQ(flags.copyrighted, GetParam().copyrighted);
  // A byte the flags can show encodes back to itself.
  if (flags.source) {
    EXPECT_EQ(encodeSorc(flags), ByteString{GetParam().byte});
  }
}

INSTANTIATE_TEST_SUITE_P(Bytes, SorcByte,
                         ::testing::Values(SorcCase{0, Source::Download, false},
                                           SorcCase{3, Source::TerminalInput, true},
                                           SorcCase{4, Source::ExternalInterface, false},
                                           SorcCase{7, std::nullopt, true}));

TEST(Sorc, EmptyValueFailsAndNoSourceIsWrittenAsADownload) {
  EXPECT_THROW(decodeSorc({}), Failure);
  EXPECT_EQ(encodeSorc({std::nullopt, true}), ByteString{1});
}

TEST(NoteLength, SecondByteOneMeansFourBytesAnythingElseThree) {
  EXPECT_EQ(noteLengthOf({0, 1}), 4);
  EXPECT_EQ(noteLengthOf({1, 1}), 4);
  EXPECT_EQ(noteLengthOf({0, 2}), 3);
  EXPECT_EQ(noteLengthOf({}), 3);
  EXPECT_THROW(noteLengthOfChunk({1}), Failure);
  EXPECT_EQ(noteValue(4), (ByteString{0, 1}));
  EXPECT_EQ(noteValue(3), (ByteString{0, 0}));
  EXPECT_EQ(normalNoteLength(5), 3);
}

TEST(TextChunk, UntouchedTextKeepsItsBytesChangedTextIsEncoded) {
  const ByteString odd = {'A', 0xFF, 0x82, 'B'};
  const TextChunk chunk(odd);
  EXPECT_EQ(chunk.bytesFor(chunk.text()), odd);
  EXPECT_EQ(chunk.bytesFor("曲"), encodeCp932("曲").bytes);
  const ChoiceValue choice({7}, {1});
  EXPECT_EQ(choice.bytesFor({1}, {1}), ByteString{7});
  EXPECT_EQ(choice.bytesFor({0}, {0}), ByteString{0});
}

TEST(OtherChunks, TextMeaningAndAudioInfo) {
  EXPECT_EQ(otherChunkText(encodeCp932("サポート 0120").bytes), "サポート 0120");
  EXPECT_FALSE(otherChunkText({}));
  EXPECT_FALSE(otherChunkText({'a', 0x00, 'b'}));  // a control character: binary

  EXPECT_EQ(otherChunkMeaning({"ainf", {0x83}}), "音声情報: adat 3個、音声のみ");
  EXPECT_EQ(otherChunkMeaning({"ainf", {}}), "音声情報");
  EXPECT_EQ(otherChunkMeaning({"cuep", {0, 0, 0, 24, 0, 0, 1, 0, 9}}), "キューポイント: trac0 24, trac1 256");
  EXPECT_EQ(otherChunkMeaning({"supt", bytesOf("x")}), "サポート情報");
  EXPECT_EQ(otherChunkMeaning({"zqxw", bytesOf("x")}), "");
}

}  // namespace
}  // namespace tonekit::info
