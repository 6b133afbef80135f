// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// ParseMIDI on arbitrary bytes: only a Failure may leave it, and a finished read always has texts.
#include <cstddef>
#include <cstdint>

#include "base/Failure.h"
#include "smf/clsMIDI.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonekit::clsMIDI midi;
  midi.MIDIFile = "C:\\fuzz\\input.mid";
  try {
    midi.ParseMIDIData(tonekit::ByteString(data, data + size));
  } catch (const tonekit::Failure&) {
    return 0;
  }
  if (midi.MIDITime != 0) __builtin_trap();
  // A title or copyright text cannot decode to more than three UTF-8 bytes per input byte.
  if (midi.MIDICopy.size() > 3 * size + 1 || midi.MIDITitle.size() > 3 * size + 16) __builtin_trap();
  if (midi.MIDITitle.empty() || midi.MIDICopy.empty()) {
    // Both stay empty only when no header was found.
    if (!midi.MIDITitle.empty() || !midi.MIDICopy.empty() || midi.MIDIFormat != 0 || midi.MIDITracks != 0 ||
        midi.MIDIDivision != 0)
      __builtin_trap();
  }
  return 0;
}
