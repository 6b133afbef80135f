// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "smf/clsMIDI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "AsUser.h"
#include "SmfBuilder.h"
#include "TempDir.h"
#include "base/Failure.h"
#include "base/SafeFile.h"

using namespace tonekit;
using namespace tonekit::smftest;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// Parses bytes as if they had been read from `path`.
clsMIDI parsed(const ByteString& data, const std::string& path = "C:\\m\\tune.mid") {
  clsMIDI midi;
  midi.MIDIFile = path;
  midi.ParseMIDIData(data);
  return midi;
}

// Runs the parse and returns the failure it raised (number -1 when none).
Failure failureOf(clsMIDI& midi, const ByteString& data) {
  try {
    midi.ParseMIDIData(data);
  } catch (const Failure& f) {
    return f;
  }
  return Failure(-1, "no failure");
}

// A reader whose every property holds a value that no parse produces.
clsMIDI marked() {
  clsMIDI midi;
  midi.MIDIFormat = 111;
  midi.MIDITracks = 222;
  midi.MIDIDivision = 333;
  midi.MIDITitle = "old title";
  midi.MIDICopy = "old copy";
  midi.MIDITime = 444;
  return midi;
}

void expectUntouched(const clsMIDI& midi) {
  EXPECT_EQ(midi.MIDIFormat, 111);
  EXPECT_EQ(midi.MIDITracks, 222);
  EXPECT_EQ(midi.MIDIDivision, 333);
  EXPECT_EQ(midi.MIDITitle, "old title");
  EXPECT_EQ(midi.MIDICopy, "old copy");
  EXPECT_EQ(midi.MIDITime, 444);
}

const ByteString kSecondTrack = track({noteOnOff(64)});

}  // namespace

TEST(SmfReader, FormatOneWithTrackNameAndCopyright) {
  // The conductor track as sequencers write it: time signature, tempo, then the texts.
  const auto data = header(1, 3, 480) +
                    track({meta(0x58, ByteString{4, 2, 24, 8}), meta(0x51, ByteString{0x07, 0xA1, 0x20}),
                           meta(0x03, "Song"), meta(0x02, "(C) Someone")}) +
                    track({meta(0x03, "Melody"), ByteString{0x00, 0xC0, 0x00}, noteOnOff()}) + track({noteOnOff()});
  const clsMIDI midi = parsed(data);
  EXPECT_EQ(midi.MIDIFormat, 1);
  EXPECT_EQ(midi.MIDITracks, 3);
  EXPECT_EQ(midi.MIDIDivision, 480);
  EXPECT_EQ(midi.MIDITitle, "Song");
  EXPECT_EQ(midi.MIDICopy, "(C) Someone");
  EXPECT_EQ(midi.MIDITime, 0);
}

TEST(SmfReader, TextsAreCodePage932) {
  const ByteString title{0x83, 0x4a, 0x83, 0x47, 0x83, 0x8b, 0x82, 0xcc, 0x89, 0xcc, 0x20, 0xbf, 0xdd, 0xb8, 0xde};
  const ByteString copy{0x28, 0x43, 0x29, 0x8d, 0xec, 0x8e, 0xd2};
  const clsMIDI midi = parsed(header(0, 1, 96) + track({meta(0x03, title), meta(0x02, copy)}));
  EXPECT_EQ(midi.MIDITitle, "カエルの歌 ｿﾝｸﾞ");
  EXPECT_EQ(midi.MIDICopy, "(C)作者");
}

TEST(SmfReader, WithoutTextsTheFileNameAndADashStandIn) {
  const auto data = header(1, 2, 480) + track({noteOnOff()}) + kSecondTrack;
  EXPECT_EQ(parsed(data, "C:\\m\\tune.mid").MIDITitle, "tune.mid");
  EXPECT_EQ(parsed(data, "/home/u/songs/tune.mid").MIDITitle, "tune.mid");
  EXPECT_EQ(parsed(data, "tune.mid").MIDITitle, "tune.mid");
  EXPECT_EQ(parsed(data).MIDICopy, "-");
  // An empty text counts as none.
  const clsMIDI empty = parsed(header(1, 1, 480) + track({meta(0x03, ""), meta(0x02, "")}));
  EXPECT_EQ(empty.MIDITitle, "tune.mid");
  EXPECT_EQ(empty.MIDICopy, "-");
}

TEST(SmfReader, TextsOfTheSecondTrackAreNotTaken) {
  const auto data = header(1, 2, 480) + track({noteOnOff()}) +
                    track({meta(0x03, "Piano"), meta(0x01, "verse"), meta(0x02, "(C) late")});
  const clsMIDI midi = parsed(data);
  EXPECT_EQ(midi.MIDITitle, "tune.mid");
  EXPECT_EQ(midi.MIDICopy, "-");
}

TEST(SmfReader, TheEarlierOfTextAndTrackNameWins) {
  EXPECT_EQ(parsed(header(1, 2, 480) + track({meta(0x01, "text first"), meta(0x03, "name second")}) + kSecondTrack)
                .MIDITitle,
            "text first");
  EXPECT_EQ(parsed(header(1, 2, 480) + track({meta(0x03, "name first"), meta(0x01, "text second")}) + kSecondTrack)
                .MIDITitle,
            "name first");
  // One kind in the first track, the other only in the second: the first track's one is taken.
  EXPECT_EQ(parsed(header(1, 2, 480) + track({noteOnOff(), meta(0x01, "mine")}) + track({meta(0x03, "other")}))
                .MIDITitle,
            "mine");
}

TEST(SmfReader, SingleTrackFileIsSearchedToItsEnd) {
  const auto data = header(0, 1, 96) + track({noteOnOff(), noteOnOff(62), meta(0x03, "Late name")}) +
                    ByteString{0x00, 0xFF, 0x02, 0x03, 'e', 'n', 'd'};
  const clsMIDI midi = parsed(data);
  EXPECT_EQ(midi.MIDITitle, "Late name");
  EXPECT_EQ(midi.MIDICopy, "end");
}

TEST(SmfReader, WrappedHeaderIsFound) {
  const auto smf = header(1, 2, 240) + track({meta(0x03, "Wrapped")}) + kSecondTrack;
  const auto n = static_cast<std::uint8_t>(smf.size());
  const auto riff = bytesOf("RIFF") + ByteString{static_cast<std::uint8_t>(n + 12), 0, 0, 0} + bytesOf("RMIDdata") +
                    ByteString{n, 0, 0, 0} + smf;
  const clsMIDI midi = parsed(riff);
  EXPECT_EQ(midi.MIDIFormat, 1);
  EXPECT_EQ(midi.MIDITracks, 2);
  EXPECT_EQ(midi.MIDIDivision, 240);
  EXPECT_EQ(midi.MIDITitle, "Wrapped");
}

TEST(SmfReader, LongTextWithTwoByteLengthIsReadWhole) {
  std::string text;
  for (int i = 0; i < 200; ++i) text.push_back(static_cast<char>('A' + i % 26));
  const auto event = meta(0x03, text);
  ASSERT_EQ(event[3], 0x81);  // 200 = 1 * 128 + 72
  ASSERT_EQ(event[4], 0x48);
  EXPECT_EQ(parsed(header(1, 2, 480) + track({event}) + kSecondTrack).MIDITitle, text);
}

TEST(SmfReader, LengthsBeyondTheDataTakeWhatIsThere) {
  // A text that claims more than the file holds.
  const auto cut = header(0, 1, 96) + bytesOf("MTrk") + ByteString{0, 0, 0, 9, 0x00, 0xFF, 0x03, 0x7F} + bytesOf("abc");
  EXPECT_EQ(parsed(cut).MIDITitle, "abc");
  // The largest four-byte length, and a length whose continuation bytes run to the end of the file.
  const auto huge = header(0, 1, 96) + bytesOf("MTrk") + ByteString{0, 0, 0, 9, 0xFF, 0x03, 0xFF, 0xFF, 0xFF, 0x7F, 'x'};
  EXPECT_EQ(parsed(huge).MIDITitle, "x");
  ByteString endless = header(0, 1, 96) + bytesOf("MTrk") + ByteString{0xFF, 0x01};
  endless.insert(endless.end(), 40, 0xFF);
  EXPECT_EQ(parsed(endless).MIDITitle, "tune.mid");
  // The event's own two bytes are the last of the file.
  EXPECT_EQ(parsed(header(0, 1, 96) + bytesOf("MTrk") + ByteString{0xFF, 0x02}).MIDICopy, "-");
}

TEST(SmfReader, SmpteDivisionOverflowsAfterFormatAndTracks) {
  clsMIDI midi = marked();
  midi.MIDIFile = "smpte.mid";
  const Failure f = failureOf(midi, header(0, 1, 0xE728) + track({meta(0x03, "Film")}));
  EXPECT_EQ(f.number(), err::Overflow);
  EXPECT_EQ(f.source(), "TONEKIT");
  EXPECT_NE(f.description().find("59176"), std::string::npos);
  EXPECT_EQ(midi.MIDIFormat, 0);
  EXPECT_EQ(midi.MIDITracks, 1);
  EXPECT_EQ(midi.MIDIDivision, 333);
  EXPECT_EQ(midi.MIDITitle, "old title");
}

TEST(SmfReader, HeaderCutShortFailsWhereItEnds) {
  const auto full = header(1, 2, 480);
  {
    clsMIDI midi = marked();
    const Failure f = failureOf(midi, ByteString(full.begin(), full.begin() + 8));  // nothing after the length
    EXPECT_EQ(f.number(), err::IndexOutOfRange);
    EXPECT_EQ(f.source(), "TONEKIT");
    expectUntouched(midi);
  }
  {
    clsMIDI midi = marked();
    const Failure f = failureOf(midi, ByteString(full.begin(), full.begin() + 13));  // division half there
    EXPECT_EQ(f.number(), err::IndexOutOfRange);
    EXPECT_EQ(midi.MIDIFormat, 1);
    EXPECT_EQ(midi.MIDITracks, 2);
    EXPECT_EQ(midi.MIDIDivision, 333);
    EXPECT_EQ(midi.MIDITitle, "old title");
  }
}

TEST(SmfReader, HeaderWithoutTrackFailsAfterTheNumbers) {
  clsMIDI midi = marked();
  const Failure f = failureOf(midi, header(0, 1, 96) + ByteString{0x00, 0xFF, 0x03, 0x01, 'x'});
  EXPECT_EQ(f.number(), err::InvalidCall);
  EXPECT_EQ(f.source(), "TONEKIT");
  EXPECT_EQ(midi.MIDIFormat, 0);
  EXPECT_EQ(midi.MIDITracks, 1);
  EXPECT_EQ(midi.MIDIDivision, 96);
  EXPECT_EQ(midi.MIDITitle, "old title");
  EXPECT_EQ(midi.MIDICopy, "old copy");
}

TEST(SmfReader, DataWithoutHeaderChangesNothing) {
  for (const ByteString& data : {ByteString{}, bytesOf("MTh"), bytesOf("RIFF....RMIDdata") + track({meta(3, "x")})}) {
    clsMIDI midi = marked();
    midi.ParseMIDIData(data);
    expectUntouched(midi);
  }
}

TEST(SmfReader, ReusedReaderDoesNotKeepTheFirstFilesTexts) {
  clsMIDI midi;
  midi.MIDIFile = "first.mid";
  midi.ParseMIDIData(header(0, 1, 96) + track({meta(0x03, "First"), meta(0x02, "(C) First")}));
  midi.MIDIFile = "second.mid";
  midi.ParseMIDIData(header(0, 1, 96) + track({noteOnOff()}));
  EXPECT_EQ(midi.MIDITitle, "second.mid");
  EXPECT_EQ(midi.MIDICopy, "-");
}

class SmfReaderFile : public ::testing::Test {
 protected:
  fs::path write(const std::string& name, const ByteString& data) { return dir_.write(name, data); }
  const fs::path& folder() const { return dir_.path(); }

  tonekit::test::TempDir dir_;
};

TEST_F(SmfReaderFile, MissingFileFolderOrEmptyNameChangesNothing) {
  for (const std::string& path : {(folder() / "absent.mid").string(), folder().string(), std::string()}) {
    clsMIDI midi = marked();
    midi.MIDIFile = path;
    midi.ParseMIDI();
    expectUntouched(midi);
    EXPECT_EQ(midi.MIDIFile, path);
  }
}

// A stranger's link in a folder of root's is refused as every read refuses it, also where it
// leads to nothing: the look before the read is the read's own walk.
TEST_F(SmfReaderFile, StrangersLinkIsRefusedWhereverItLeads) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link away";
  const fs::path link = folder() / "planted.mid";
  fs::create_symlink(folder() / "gone.mid", link);
  ASSERT_EQ(::lchown(link.c_str(), test::kOtherUser, test::kOtherUser), 0);
  clsMIDI midi = marked();
  midi.MIDIFile = link.string();
  try {
    midi.ParseMIDI();
    ADD_FAILURE() << "the link was followed";
  } catch (const RefusedLink& refused) {
    EXPECT_EQ(refused.number(), err::PermissionDenied);
  }
  expectUntouched(midi);
}

TEST_F(SmfReaderFile, FailureReachesTheCaller) {
  clsMIDI midi;
  midi.MIDIFile = write("cut.mid", bytesOf("MThd\0\0\0\6\0\1"s)).string();
  try {
    midi.ParseMIDI();
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), err::IndexOutOfRange);
  }
  EXPECT_EQ(midi.MIDIFormat, 1);
}
