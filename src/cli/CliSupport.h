#pragma once
// What every tonekit-cli command shares: exit codes, the error line, reader messages on stderr.

#include <functional>
#include <string>

#include "core/MessageSink.h"

namespace CLI {
class App;
}

namespace tonekit::cli {

enum class Exit : int { Success = 0, Failure = 1, Usage = 2 };

// The exit status the chosen command asks for.
Exit& exitStatus();

// Runs body; a failure prints NUMBER:SOURCE:DESCRIPTION on standard error and yields Failure.
Exit runGuarded(const std::function<Exit()>& body);

// Writes each message to standard error as it occurs, and keeps it.
class StderrMessages : public CollectingMessageSink {
 public:
  void message(const std::string& text, MessageIcon icon) override;
};

// Every command registers itself on the application here.
void addInfoCommand(CLI::App& app);
void addSetCommand(CLI::App& app);

}  // namespace tonekit::cli
