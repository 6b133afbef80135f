// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// A melody written to a WAV file, as the command line's render and the windows' export both do
// it: the performance unrolled on the time grid, the recorded sound mixed in, the figures of the
// melody beside what the rendering gave.

#include <filesystem>
#include <optional>

#include "convert/MidiExport.h"
#include "sound/AdatAudio.h"
#include "sound/Synth.h"

namespace tonekit::sound {

struct WavExport {
  Counts counts;  // the melody's figures, each repeat once, as the MIDI export counts them
  std::optional<RepeatsStopped> repeatsStopped;  // where the performance stopped repeating, and why
  Rendered rendered;
  AudioFigures audio;
};

// Renders melody to out at rate through soundfont; raises what renderWav raises (kRenderStopped
// when progress asked to stop, the file then left as it was). The melody's audio chunks are
// handed to the mix rather than copied: a long entry is held once.
WavExport writeWav(Melody melody, const std::filesystem::path& soundfont, int rate, const std::filesystem::path& out,
                   const RenderProgress& progress = {});

}  // namespace tonekit::sound
