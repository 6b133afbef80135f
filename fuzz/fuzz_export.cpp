// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Any bytes that read as a document: the export and the unrolled rendering either fail with a
// clear failure or give a file the SMF readers read whole, as format 1 with one track per MLD
// track and the tempo track. The recorded sound the tracks start mixes to bounded, finite samples.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "mld/clsMLD.h"
#include "smf/SmfEvents.h"
#include "smf/clsMIDI.h"
#include "convert/MidiExport.h"
#include "sound/AdatAudio.h"

namespace {

// Two seconds at a low rate: four lanes at full level and the resampler's ripple stay well inside 8.
void mixAudio(const tonekit::sound::Melody& melody, const tonekit::sound::Conversion& conversion) {
  constexpr int kRate = 8000;
  tonekit::sound::AudioMix mix(melody.audioChunks, conversion.audio, melody.exst, kRate);
  std::vector<float> left(kRate * 2), right(kRate * 2);
  for (int at = 0; at < kRate * 2; at += 64) mix.add(left.data() + at, right.data() + at, 64, 1);
  for (std::size_t i = 0; i < left.size(); ++i)
    if (!std::isfinite(left[i]) || !std::isfinite(right[i]) || std::abs(left[i]) > 8 || std::abs(right[i]) > 8)
      std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tonekit::CollectingMessageSink messages;
  tonekit::clsMLD doc;
  tonekit::sound::Melody melody;
  try {
    doc.parseBytes(tonekit::ByteString(data, data + size), &messages);
    melody = tonekit::sound::melodyOf(doc);
  } catch (const tonekit::Failure&) {
    return 0;
  }
  for (const bool unroll : {false, true}) {
    tonekit::sound::ExportOptions options;
    options.unroll = unroll;
    if (unroll && !melody.tracks.back().empty()) options.fromEvent = {int(melody.tracks.size()) - 1, 0};
    const auto conversion = tonekit::sound::convert(melody, options);
    tonekit::clsMIDI midi;
    try {
      midi.ParseMIDIData(conversion.smf);
      // Every event the converter writes must read back whole.
      if (tonekit::smf::readSong(conversion.smf).brokenTracks != 0) std::abort();
    } catch (const tonekit::Failure&) {
      std::abort();
    }
    if (midi.MIDIFormat != 1 || std::size_t(midi.MIDITracks) != melody.tracks.size() + 1 ||
        midi.MIDIDivision != tonekit::sound::kDivision)
      std::abort();
    if (unroll) mixAudio(melody, conversion);
  }
  return 0;
}
