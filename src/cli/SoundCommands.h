#pragma once
// What tonekit-cli export and render share: reading the melody and the figures they print.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "sound/MidiExport.h"

namespace tonekit::cli {

// The melody of an MLD file; raises what reading it raised, or 9 when it holds no track.
sound::Melody readMelody(const std::string& path);

// notes, dropped_notes, skipped_events, channels, tempo_changes, loops, ticks, duration_seconds.
nlohmann::ordered_json countsJson(const sound::Counts& counts);

}  // namespace tonekit::cli
