// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli smf: the header facts, title and copyright text of a Standard MIDI File.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "base/Failure.h"
#include "base/SafeFile.h"
#include "smf/clsMIDI.h"

namespace tonekit::cli {
namespace {

nlohmann::ordered_json smfJson(const std::string& path, const clsMIDI& midi) {
  nlohmann::ordered_json out;
  out["path"] = path;
  out["format"] = midi.MIDIFormat;
  out["tracks"] = midi.MIDITracks;
  out["division"] = midi.MIDIDivision;
  out["title"] = midi.MIDITitle;
  out["copyright"] = midi.MIDICopy;
  out["time"] = midi.MIDITime;
  return out;
}

void addSmfCommand(CLI::App& app) {
  auto path = std::make_shared<std::string>();
  auto* cmd = app.add_subcommand("smf", "Print a Standard MIDI File's format, tracks, division, title and copyright as JSON");
  cmd->add_option("FILE", *path, "Standard MIDI File")->required();
  cmd->callback([path] {
    exitStatus() = runGuarded([&] {
      // ParseMIDI passes over a missing file in silence; a script asking for one must hear of it,
      // so the file is read here, by the reader that judges paths for every command.
      clsMIDI midi;
      midi.MIDIFile = *path;
      midi.ParseMIDIData(readWholeFile(*path));
      // A path (and so a fallback title) need not be valid UTF-8 on this system.
      std::cout << smfJson(*path, midi).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                << '\n';
      return Exit::Success;
    });
  });
}

const bool smfRegistered = registerCommand(60, &addSmfCommand);

}  // namespace
}  // namespace tonekit::cli
