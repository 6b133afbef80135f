#include "cli/CliSupport.h"

#include <algorithm>
#include <iostream>

#include "core/Failure.h"

namespace tonekit::cli {

namespace {
std::vector<std::pair<int, CommandAdder>>& registry() {
  static std::vector<std::pair<int, CommandAdder>> commands;
  return commands;
}
}  // namespace

bool registerCommand(int rank, CommandAdder adder) {
  registry().emplace_back(rank, adder);
  return true;
}

void addRegisteredCommands(CLI::App& app) {
  auto commands = registry();
  std::stable_sort(commands.begin(), commands.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [rank, adder] : commands) adder(app);
}

Exit& exitStatus() {
  static Exit status = Exit::Success;
  return status;
}

Failure userMistake(const std::string& sentence) { return Failure(err::InvalidCall, sentence); }

Exit runGuarded(const std::function<Exit()>& body) {
  try {
    return body();
  } catch (const std::exception&) {
    std::cerr << currentFailure().line() << '\n';
  }
  return Exit::Failure;
}

void StderrMessages::message(const std::string& text, MessageIcon icon) {
  if (keep_) CollectingMessageSink::message(text, icon);
  std::cerr << text << '\n';
  std::cerr.flush();
}

}  // namespace tonekit::cli
