// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Cutting a track chunk ("trac", 4-byte big-endian length, events) into event records and
// putting the records together again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteString.h"
#include "mld/EventCodec.h"
#include "mld/clsNote.h"

namespace tonekit {

// True for an extend-status event of a kind with a length of its own (the ext-info kinds):
// delta, FF, value, length (2 bytes, big-endian), data. Needs only the first three bytes.
bool isExtInfoEvent(const ByteString& event);

// The event the track view inserts: a silent note of the note length (all zero), or a tone
// change (0xE0) extend-status event.
ByteString newEvent(bool extend, int noteLength);

// The events of a track chunk in track order. The events run from the ninth byte for the
// chunk's length field, or as far as the stored bytes go when the chunk was cut short; every
// byte of them lands in exactly one record, a tail that is not a whole event in a shorter last
// record. Raises 9 when the chunk has no complete header.
std::vector<clsNote> walkTrack(const ByteString& chunk, events::Framing framing);

// Where a track stops being whole, counted from the first byte of its events: the start of a
// last event cut off, the end of a chunk whose bytes stop before its length field says, or the
// end of a track without end-of-track. Nothing for a track whose events frame exactly to an
// end-of-track. `events` is what walkTrack made of the chunk.
std::optional<std::size_t> damageOf(const ByteString& chunk, const std::vector<clsNote>& events,
                                    events::Framing framing);

// "trac", the events' total length (big-endian), the events in order. Raises 6 when the
// events do not fit the length field.
ByteString assembleTrack(const std::vector<clsNote>& notes);

// The events a "cuep" value points at: one 4-byte offset per track, counted from the first byte of
// the track's events.
std::vector<std::optional<std::size_t>> cuePointsOf(const ByteString& cuep,
                                                    const std::vector<std::vector<clsNote>>& tracks);

}  // namespace tonekit
