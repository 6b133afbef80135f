#pragma once
// The texts the track grid shows for one event (UTF-8).

#include <array>
#include <cstdint>
#include <string>

#include "core/ByteString.h"

namespace tonekit {

// Headers of grid columns 0 (event number) to 7 (remark).
const std::array<std::string, 8>& trackColumnHeaders();

// The pitch field that marks an extend-status row, and its text in column 3.
inline constexpr int kExtendPitch = 63;
inline constexpr const char* kExtendPitchText = "63";

// "C  (0・ド)" for pitch 27; pitches 0 … 63 (63 is only ever shown for extend-status rows).
std::string pitchName(int pitch);
// "6" … "960", or "N/A" for the two unused codes; lowBits 0 … 15.
std::string tempoTimebase(int lowBits);
// The kind name of an extend-status value: "EndOfTrack", "テンポ 96", "Unknown", …
std::string extendKindName(std::uint8_t value);

// Columns 1 to 7 of an event's row. The note length decides whether a note row shows velocity
// and octave shift; a record too short for a column leaves that column empty.
std::array<std::string, 7> rowTexts(const ByteString& event, int noteLength);

}  // namespace tonekit
