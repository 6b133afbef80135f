// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// What every tonekit-cli command shares: exit codes, the error line, reader messages on stderr.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/Failure.h"
#include "base/MessageSink.h"

namespace CLI {
class App;
}

namespace tonekit::cli {

enum class Exit : int { Success = 0, Failure = 1, Usage = 2 };

// The exit status the chosen command asks for.
Exit& exitStatus();

// Runs body; a failure prints NUMBER:SOURCE:DESCRIPTION on standard error and yields Failure.
Exit runGuarded(const std::function<Exit()>& body);

// A mistake on the command line that only shows once the command runs (an unknown tag, say):
// the number of an invalid argument, with a sentence that tells what was wrong.
Failure userMistake(const std::string& sentence);

// Writes each message to standard error as it occurs. Keeps it too unless told not to: a walk
// over a large tree may give thousands that nobody reads again.
class StderrMessages : public CollectingMessageSink {
 public:
  explicit StderrMessages(bool keep = true) : keep_(keep) {}
  void message(const std::string& text, MessageIcon icon) override;

 private:
  bool keep_;
};

// The words joined by separator ("a, b, c").
std::string joined(const std::vector<std::string>& words, const std::string& separator);
// The names of the commands, in the order --help lists them.
std::vector<std::string> commandNames(const CLI::App& app);
// The eight information chunk tags in the order a save writes them, each followed by suffix.
std::vector<std::string> chunkTags(const std::string& suffix = {});

// Each command file registers its command at start-up:
//   static const bool registered = registerCommand(10, &addInfoCommand);
// main adds them in the order of their rank.
using CommandAdder = void (*)(CLI::App& app);
bool registerCommand(int rank, CommandAdder adder);
void addRegisteredCommands(CLI::App& app);

}  // namespace tonekit::cli
