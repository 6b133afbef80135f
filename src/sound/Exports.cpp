// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "sound/Exports.h"

#include <algorithm>
#include <utility>

namespace tonekit::sound {

WavExport writeWav(Melody melody, const std::filesystem::path& soundfont, int rate, const std::filesystem::path& out,
                   const RenderProgress& progress) {
  ExportOptions unrolled;
  unrolled.unroll = true;
  unrolled.timeGrid = true;
  unrolled.maxSeconds = kMaxRenderSeconds;
  const Conversion performance = convert(melody, unrolled);
  AudioMix audio(std::move(melody.audioChunks), performance.audio, melody.exst, rate);
  // Recorded sound started near the end plays out.
  const double seconds = std::max(performance.counts.durationSeconds, std::min(audio.endSeconds(), kMaxRenderSeconds));
  WavExport result;
  result.rendered = renderWav(performance.smf, seconds, soundfont, rate, out, progress, &audio);
  result.counts = convert(melody).counts;
  result.repeatsStopped = performance.counts.repeatsStopped;
  result.audio = audio.figures();
  return result;
}

}  // namespace tonekit::sound
