// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Any bytes as a MIDI file: the import either fails cleanly or makes a document whose saved bytes
// read back whole, every track walking into 4-byte events that end with EndOfTrack.
#include <cstddef>
#include <cstdint>

#include "base/Failure.h"
#include "convert/MidiImport.h"
#include "mld/TrackEvents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonekit;
  smf::ImportOptions options;
  options.date = "20260101";
  std::optional<smf::ImportResult> imported;
  try {
    imported = smf::importMidi(ByteString(data, data + size), options);
  } catch (const Failure&) {
    return 0;
  }
  const ByteString saved = imported->document.renderMLD();
  clsMLD back;
  if (!back.parseBytes(saved) || !back.readComplete()) __builtin_trap();
  if (back.MLDTracData->count() != static_cast<std::size_t>(imported->summary.tracks)) __builtin_trap();
  for (const auto& [key, chunk] : back.MLDTracData->items()) {
    const auto events = walkTrack(chunk, 4);
    if (events.empty() || events.back().getData().size() != 4 || events.back().getData()[2] != 0xDF) __builtin_trap();
    for (const auto& e : events)
      if (e.getData().size() != 4) __builtin_trap();
  }
  if (back.renderMLD() != saved) __builtin_trap();
  return 0;
}
