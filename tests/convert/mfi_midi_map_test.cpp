// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "convert/MfiMidiMap.h"
#include "mld/EventCodec.h"
#include "mld/ExtendKinds.h"

using namespace tonekit;
using namespace tonekit::events;

namespace {

TEST(MfiMidiMap, KeysAndPitchesAreInverse) {
  for (const bool drums : {false, true})
    for (int key = 0; key < 128; ++key) {
      const auto pitch = pitchOfKey(key, drums);
      if (!pitch) continue;
      EXPECT_EQ(keyOf(pitch->first, pitch->second, drums), key);
      // Unshifted wherever the pitch range reaches.
      EXPECT_EQ(pitch->second == 0, key >= keyOf(0, 0, drums) && key <= keyOf(62, 0, drums)) << key;
    }
  EXPECT_EQ(keyOf(0, 0), 45);
  // Percussion walks the drum map: kick, snare, closed and open hi-hat, crash.
  EXPECT_EQ((std::vector<int>{keyOf(0, 0, true), keyOf(5, 0, true), keyOf(7, 0, true), keyOf(11, 0, true),
                              keyOf(2, 1, true)}),
            (std::vector<int>{35, 40, 42, 46, 49}));
  EXPECT_FALSE(pitchOfKey(20));
  EXPECT_FALSE(pitchOfKey(120));
}

TEST(MfiMidiMap, SixBitLevelsAsMidiValues) {
  // Levels double and halve; a bend's six bits are the top byte's top six (32 is the centre),
  // what lies below them is lost.
  EXPECT_EQ((std::vector<int>{midiLevelOf(0), midiLevelOf(32), midiLevelOf(63), levelOfMidi(127), levelOfMidi(200)}),
            (std::vector<int>{0, 64, 126, 63, 63}));
  EXPECT_EQ((std::vector<int>{midiBendOf(kBendCentre), midiBendOf(0), midiBendOf(63)}),
            (std::vector<int>{8192, 0, 126 << 7}));
  for (int value = 0; value < 64; ++value) EXPECT_EQ(bendOfMidi(midiBendOf(value) + 127), value);
  EXPECT_EQ((std::vector<std::optional<std::uint8_t>>{kindOfController(1), kindOfController(7), kindOfController(10),
                                                       kindOfController(11), kindOfController(64)}),
            (std::vector<std::optional<std::uint8_t>>{kind::Modulation, kind::Volume, kind::Balance,
                                                       kind::RelativeVolume, std::nullopt}));
}

}  // namespace
