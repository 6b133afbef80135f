// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Writing Standard MIDI Files: the pieces every writer of one needs, beside the reader.

#include <cstdint>

#include "base/ByteString.h"

namespace tonekit::smf {

// A variable-length number: seven bits a byte, the most significant group first.
void appendVarLength(ByteString& out, std::uint64_t value);
// A meta event (without its delta time): FF, type, length, data.
ByteString metaEvent(std::uint8_t type, const ByteString& data);
// The header chunk: "MThd", length 6, format, number of tracks, division (ticks per quarter note).
ByteString fileHeader(std::uint16_t format, std::uint16_t tracks, std::uint16_t division);
// Closes a track body: end of track, endDelta ticks after its last event.
void appendEndOfTrack(ByteString& body, std::uint64_t endDelta);
// Appends one track chunk, "MTrk" with the body's length, then the body.
void appendTrackChunk(ByteString& smf, const ByteString& body);

}  // namespace tonekit::smf
