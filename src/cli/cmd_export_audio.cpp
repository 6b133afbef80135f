// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli export-audio: one "adat" entry of an MLD file decoded, at its own rate, as a WAV file.
#include <CLI/CLI.hpp>
#include <cmath>
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "cli/SoundCommands.h"
#include "base/Failure.h"
#include "base/SafeFile.h"
#include "mld/clsMLD.h"

namespace tonekit::cli {
namespace {

void addExportAudioCommand(CLI::App& app) {
  struct Options {
    std::string file;
    std::string out;
    std::size_t entry = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("export-audio",
                                 "Write one audio chunk (\"adat\") of an MLD file decoded as a 16-bit WAV file at its own rate; "
                                 "print its figures as JSON");
  cmd->add_option("FILE", o->file, "MLD file")->required();
  cmd->add_option("--entry", o->entry, "The audio chunk, from 0 in file order")->required();
  cmd->add_option("--out", o->out, "WAV file to write")->required();
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      clsMLD doc;
      doc.MLDFile = o->file;
      StderrMessages messages;
      doc.ParseMLD(&messages);
      if (o->entry >= doc.MLDAudioChunks.size())
        throw Failure::of(err::IndexOutOfRange, "(adat " + std::to_string(o->entry) + ": the file has " +
                                                    std::to_string(doc.MLDAudioChunks.size()) + ")");
      const ByteString& chunk = doc.MLDAudioChunks[o->entry];
      const sound::AdatEntry entry = sound::parseAdat(chunk);
      const sound::Pcm pcm = sound::decodeAdat(chunk, entry);
      replaceFileSafely(o->out, sound::wavOf(pcm));
      nlohmann::ordered_json json;
      json["entry"] = o->entry;
      json["format"] = entry.format;
      json["rate"] = pcm.rate;
      json["bits"] = entry.bits;
      json["channels"] = pcm.channels;
      json["frames"] = pcm.samples.size() / std::size_t(pcm.channels);
      json["seconds"] = std::round(entry.seconds() * 1000.0) / 1000.0;
      std::cout << json.dump(2) << '\n';
      return Exit::Success;
    });
  });
}

const bool exportAudioRegistered = registerCommand(75, &addExportAudioCommand);

}  // namespace
}  // namespace tonekit::cli
