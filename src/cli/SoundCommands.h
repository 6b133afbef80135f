// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What tonekit-cli export and render share: reading the melody and the figures they print.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "convert/MidiExport.h"
#include "sound/AdatAudio.h"

namespace tonekit::cli {

// The melody of an MLD file and the number of its audio chunks ("adat"); only render and
// playback hear them.
struct FileMelody {
  sound::Melody melody;
  std::size_t audioChunks = 0;
};
// Raises what reading the file raised, or 9 when it holds no track.
FileMelody readMelody(const std::string& path);

// notes, dropped_notes, skipped_events, channels, tempo_changes, loops, ticks, duration_seconds,
// audio_chunks_not_played, jumps, vendor_audio_events.
nlohmann::ordered_json countsJson(const sound::Counts& counts, std::size_t audioChunks);
// Behind every other figure: damaged_tracks, audio_events.
void addTrackFigures(nlohmann::ordered_json& out, const sound::Counts& counts);
// Behind those of render: audio_chunks_played, and audio_not_played naming each entry or start
// that could not be heard, with how often.
void addAudioFigures(nlohmann::ordered_json& out, const sound::AudioFigures& figures);

}  // namespace tonekit::cli
