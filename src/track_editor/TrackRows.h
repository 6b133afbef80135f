// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// The texts the track grid shows for one event (UTF-8).

#include <array>
#include <cstdint>
#include <string>

#include "base/ByteString.h"
#include "mld/EventCodec.h"

namespace tonekit {

// Headers of grid columns 0 (event number) to 7 (remark).
const std::array<std::string, 8>& trackColumnHeaders();

// "C  (0・ド)" for pitch 27; pitches 0 … 63 (63 is only ever shown for extend-status rows).
std::string pitchName(int pitch);

// Whether the grid shows an event as an extend-status row: its pitch field is 63, whatever the
// channel.
bool isExtendRow(const ByteString& event);

// What a relative volume change (0xE6) plays at: its six bits are the part's level, 0 silent.
// "再生時の音量 N/63", or "無音" for 0.
std::string relativeVolumeLevelText(int sixBits);

// Columns 1 to 7 of an event's row. The note length decides whether a note row shows velocity
// and octave shift; a record too short for a column leaves that column empty. An extend-status
// row shows its own part in "チャネル" (3 for the status 0xFF).
std::array<std::string, 7> rowTexts(const ByteString& event, events::Framing framing);

}  // namespace tonekit
