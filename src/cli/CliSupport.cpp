// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "cli/CliSupport.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>

#include "base/Failure.h"
#include "mld/clsMLD.h"
#include "mld/MldInfo.h"

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

std::string joined(const std::vector<std::string>& words, const std::string& separator) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : separator) + w;
  return out;
}

std::vector<std::string> commandNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
    names.push_back(sub->get_name());
  return names;
}

std::vector<std::string> chunkTags(const std::string& suffix) {
  std::vector<std::string> tags;
  for (auto tag : clsMLD::kWriterOrder) tags.push_back(std::string(tag) + suffix);
  for (const auto& later : info::kLaterTags) tags.push_back(std::string(later.tag) + suffix);
  return tags;
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
