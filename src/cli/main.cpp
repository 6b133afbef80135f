// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli: the MLD document core for scripts and batch work.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Completion.h"
#include "i18n/Language.h"
#include "tonekit/Version.h"

namespace {

// The first word that is no option names the command; of the program's own options only --lang
// takes a value.
const char* commandWord(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--lang") == 0) {
      ++i;
      continue;
    }
    if (argv[i][0] != '-') return argv[i];
    if (std::strcmp(argv[i], "--") == 0) return i + 1 < argc ? argv[i + 1] : nullptr;
  }
  return nullptr;
}

void listCommands(const CLI::App& app, const std::string& sentence) {
  const std::string names = tonekit::cli::joined(tonekit::cli::commandNames(app), ", ");
  std::cerr << "tonekit-cli: " << sentence << TKT("TONEKIT", "使えるコマンド: ") << names << "\n"
            << TKT("TONEKIT", "詳しくは tonekit-cli --help をご覧ください。") << "\n";
}

// CLI11 says only "A subcommand is required" for a word it does not know, which hides the typo.
bool reportUnknownCommand(const CLI::App& app, int argc, char** argv) {
  const char* word = commandWord(argc, argv);
  if (!word) return false;
  const std::vector<std::string> names = tonekit::cli::commandNames(app);
  if (std::find(names.begin(), names.end(), word) != names.end()) return false;
  listCommands(app, tonekit::fillIn(TKT("TONEKIT", "「%1」というコマンドはありません。"), {word}));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tonekit::cli;
  // The language goes first: every message, the first one included, speaks it.
  const tonekit::i18n::LanguageOption language = tonekit::i18n::languageOption(argc, argv);
  tonekit::i18n::useLanguage(language.language.value_or(tonekit::environmentLanguage()));
  CLI::App app{"TONEKIT command line: read and change MLD (i-mode melody) files"};
  app.name("tonekit-cli");
  app.set_version_flag("-V,--version",
                       std::string("tonekit-cli ") + tonekit::kVersionString + "\n" + tonekit::kLicenceNotice,
                       "Print the version and exit");
  std::string languageWord;
  app.add_option("--lang", languageWord,
                 "Speak LANG: ja (Japanese) or en (English); by default the desktop's language "
                 "(LANGUAGE, LC_ALL, LC_MESSAGES, LANG)")
      ->option_text("LANG")
      ->check(CLI::IsMember({"ja", "en"}));
  app.require_subcommand(1);
  app.fallthrough(false);

  addRegisteredCommands(app);

  // For the build, which installs the scripts; `source <(tonekit-cli --completion bash)` also works.
  if (argc == 3 && std::strcmp(argv[1], "--completion") == 0) {
    const std::string script = completionScript(app, argv[2]);
    if (script.empty()) {
      std::cerr << "tonekit-cli: --completion takes bash or zsh\n";
      return static_cast<int>(Exit::Usage);
    }
    std::cout << script;
    return 0;
  }
  if (reportUnknownCommand(app, argc, argv)) return static_cast<int>(Exit::Usage);

  try {
    app.parse(argc, argv);
  } catch (const CLI::RequiredError& e) {
    if (!app.get_subcommands().empty()) return app.exit(e) == 0 ? 0 : static_cast<int>(Exit::Usage);
    listCommands(app, TKT("TONEKIT", "コマンドを指定してください。"));
    return static_cast<int>(Exit::Usage);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : static_cast<int>(Exit::Usage);
  }
  return static_cast<int>(exitStatus());
}
