#pragma once
// Shell completion for tonekit-cli, written from the very command table that --help prints, so
// that a command or option added later is completed without anyone editing a script.

#include <string>

namespace CLI {
class App;
}

namespace tonekit::cli {

// The completion script for shell ("bash" or "zsh"); empty for any other shell.
std::string completionScript(const CLI::App& app, const std::string& shell);

}  // namespace tonekit::cli
