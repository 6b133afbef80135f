// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The texts of the track grid.
#include <gtest/gtest.h>

#include "mld/ExtendKinds.h"
#include "track_editor/TrackRows.h"

using namespace tonekit;

namespace {
using Row = std::array<std::string, 7>;
}

TEST(TrackRows, Headers) {
  EXPECT_EQ(trackColumnHeaders(),
            (std::array<std::string, 8>{"イベントNo", "Δタイム", "チャネル", "音程", "音の長さ", "音の強さ",
                                        "ｵｸﾀｰﾌﾞｼﾌﾄ", "備考"}));
}

TEST(TrackRows, PitchNamesFollowTheRule) {
  EXPECT_EQ(pitchName(0), "A  (-3・ラ)");
  EXPECT_EQ(pitchName(1), "A+ (-3・#ラ)");
  EXPECT_EQ(pitchName(2), "B  (-3・シ)");
  EXPECT_EQ(pitchName(3), "C  (-2・ド)");
  EXPECT_EQ(pitchName(26), "B  (-1・シ)");
  EXPECT_EQ(pitchName(27), "C  (0・ド)");
  EXPECT_EQ(pitchName(38), "B  (0・シ)");
  EXPECT_EQ(pitchName(39), "C  (+1・ド)");
  EXPECT_EQ(pitchName(40), "C+ (+1・#ド)");
  EXPECT_EQ(pitchName(62), "B  (+2・シ)");
  // Every step of the scale, once: C D E F G A B with their sharps from pitch 27.
  const char* names[12] = {"C  (0・ド)", "C+ (0・#ド)", "D  (0・レ)", "D+ (0・#レ)", "E  (0・ミ)", "F  (0・ファ)",
                           "F+ (0・#ファ)", "G  (0・ソ)", "G+ (0・#ソ)", "A  (0・ラ)", "A+ (0・#ラ)", "B  (0・シ)"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(pitchName(27 + i), names[i]);
}

TEST(ExtendKinds, NamesTimebasesAndLengths) {
  using events::extendKindName;
  const std::pair<int, const char*> named[] = {
      {0xB0, "マスターボリューム"}, {0xB1, "？"}, {0xB2, "ドラムスケール変更"}, {0xD0, "演奏位置情報"},
      {0xDD, "ループポイント"},     {0xDE, "NOP"}, {0xDF, "EndOfTrack"},        {0xE0, "音色(2～7Bit目)"},
      {0xE1, "音色(1Bit目)"},       {0xE2, "音量"}, {0xE3, "ステレオバランス"}, {0xE5, "チャンネル割り当て"},
      {0xE6, "ボリューム相対変化"}, {0xF0, "音色編集"}, {0xF1, "ビブラート"}, {0xFF, "機種依存"}};
  for (auto [value, name] : named) EXPECT_EQ(extendKindName(static_cast<std::uint8_t>(value)), name) << value;
  for (int value : {0x00, 0x3F, 0xAF, 0xB3, 0xD1, 0xDC, 0xE4, 0xE7, 0xEF, 0xF2, 0xFE})
    EXPECT_EQ(extendKindName(static_cast<std::uint8_t>(value)), "Unknown") << value;

  const char* timebases[16] = {"6", "12", "24", "48", "96", "192", "384", "N/A",
                               "15", "30", "60", "120", "240", "480", "960", "N/A"};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(extendKindName(static_cast<std::uint8_t>(0xC0 + i)), std::string("テンポ ") + timebases[i]);
  EXPECT_EQ(events::tempoTimebase(0xC3), 48);
  EXPECT_FALSE(events::tempoTimebase(0xC7));
  EXPECT_FALSE(events::tempoTimebase(0xB0));
  // Every value from 0xF0 up has a length of its own, named or not; none below.
  for (int value = 0; value < 256; ++value)
    EXPECT_EQ(events::extendKind(static_cast<std::uint8_t>(value)).hasLength, value >= 0xF0) << value;
}

TEST(TrackRows, NoteRowsInBothNoteLengths) {
  EXPECT_EQ(rowTexts({0x00, 0x05, 0x30}, 3), (Row{"0", "0", "5", "48", "", "", "Note : D  (-2・レ)"}));
  EXPECT_EQ(rowTexts({0x10, 0x9B, 0x30, 0xFE}, 4), (Row{"16", "2", "27", "48", "63", "2", "Note : C  (0・ド)"}));
  // The note length decides the columns, not the record: a 4-byte record in a 3-byte file.
  EXPECT_EQ(rowTexts({0x10, 0x9B, 0x30, 0xFE}, 3), (Row{"16", "2", "27", "48", "", "", "Note : C  (0・ド)"}));
  EXPECT_EQ(rowTexts({0x00, 0x00, 0x00, 0x00}, 4), (Row{"0", "0", "0", "0", "0", "0", "Note : A  (-3・ラ)"}));
}

TEST(TrackRows, ExtendStatusRows) {
  const Row eot = {"5", "3", "63", "223", "", "", "Extend : EndOfTrack"};
  EXPECT_EQ(rowTexts({0x05, 0xFF, 0xDF, 0x00}, 3), eot);
  EXPECT_EQ(rowTexts({0x05, 0xFF, 0xDF, 0x00}, 4), eot);
  EXPECT_EQ(rowTexts({0x00, 0xFF, 0xC7, 0x78}, 4), (Row{"0", "3", "63", "199", "", "", "Extend : テンポ N/A"}));
  // Pitch 63 on channel 2: shown as an extend-status row from byte 3.
  EXPECT_EQ(rowTexts({0x01, 0xBF, 0xE2}, 3), (Row{"1", "2", "63", "226", "", "", "Extend : 音量"}));
  // Every part's extend-status events, the audio voice's commands by their names.
  EXPECT_EQ(rowTexts({0x01, 0x3F, 0xE2, 0x20}, 3), (Row{"1", "0", "63", "226", "", "", "Extend : 音量"}));
  EXPECT_EQ(rowTexts({0x01, 0x7F, 0x00, 0x00, 0x37}, {4, 1}),
            (Row{"1", "1", "63", "0", "", "", "Extend : オーディオ再生開始"}));
  EXPECT_EQ(rowTexts({0x00, 0x7F, 0xF0, 0x00, 0x01, 0x05}, 4), (Row{"0", "1", "63", "240", "", "", "Extend : 音色編集"}));
  EXPECT_EQ(rowTexts({0x00, 0xFF, 0xBA, 0x21}, 4), (Row{"0", "3", "63", "186", "", "", "Extend : ドラムチャンネル設定"}));
  // A relative volume change names the level it plays at: its six bits, not a signed step.
  EXPECT_EQ(rowTexts({0x00, 0xFF, 0xE6, 0xB2}, 4)[6], "Extend : ボリューム相対変化 (再生時の音量 50/63)");
  EXPECT_EQ(rowTexts({0x00, 0xFF, 0xE6, 0xA0}, 4)[6], "Extend : ボリューム相対変化 (再生時の音量 32/63)");
  EXPECT_EQ(rowTexts({0x00, 0xFF, 0xE6, 0x40}, 4)[6], "Extend : ボリューム相対変化 (無音)");
  // An ext-info event reads like any other; its data is not shown.
  EXPECT_EQ(rowTexts({0x00, 0xFF, 0xF1, 0x00, 0x02, 0x11, 0x22}, 3),
            (Row{"0", "3", "63", "241", "", "", "Extend : ビブラート"}));
}

TEST(TrackRows, ShortRecordsShowWhatIsThere) {
  EXPECT_EQ(rowTexts({}, 3), Row{});
  EXPECT_EQ(rowTexts({0x07}, 3), (Row{"7", "", "", "", "", "", ""}));
  EXPECT_EQ(rowTexts({0x07, 0x5B}, 4), (Row{"7", "1", "27", "", "", "", "Note : C  (0・ド)"}));
  EXPECT_EQ(rowTexts({0x07, 0x5B, 0x10}, 4), (Row{"7", "1", "27", "16", "", "", "Note : C  (0・ド)"}));
  EXPECT_EQ(rowTexts({0x07, 0xFF}, 3), (Row{"7", "3", "63", "", "", "", ""}));
}
