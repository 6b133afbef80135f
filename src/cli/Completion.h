// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
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
