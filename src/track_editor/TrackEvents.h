#pragma once
// Cutting a track chunk ("trac", 4-byte big-endian length, events) into event records and
// putting the records together again.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/ByteString.h"
#include "track_editor/clsNote.h"

namespace tonekit {

// True for an extend-status event of a kind with a length of its own (the ext-info kinds):
// delta, FF, value, length (2 bytes, big-endian), data. Needs only the first three bytes.
bool isExtInfoEvent(const ByteString& event);
// True for any extend-status event (status byte 0xFF). Needs only the first two bytes.
bool isExtendEvent(const ByteString& event);

// The event the track view inserts: a silent note of the note length (all zero), or a tone
// change (0xE0) extend-status event.
ByteString newEvent(bool extend, int noteLength);

// The size of the event starting at `offset` inside events[0, end): the note length for notes,
// 4 for extend-status events, 5 + length for ext-info events; never more than is left before
// end, so a cut-off last event is as long as what remains of it. offset must be below end.
std::size_t eventSizeAt(const std::uint8_t* events, std::size_t offset, std::size_t end, int noteLength);

// The events of a track chunk in track order. The events run from the ninth byte for the
// chunk's length field, or as far as the stored bytes go when the chunk was cut short; every
// byte of them lands in exactly one record, a tail that is not a whole event in a shorter last
// record. Raises 9 when the chunk has no complete header.
std::vector<clsNote> walkTrack(const ByteString& chunk, int noteLength);

// "trac", the events' total length (big-endian), the events in order. Raises 6 when the
// events do not fit the length field.
ByteString assembleTrack(const std::vector<clsNote>& notes);

}  // namespace tonekit
