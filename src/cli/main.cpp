// tonekit-cli: the MLD document core for scripts and batch work.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "cli/CliSupport.h"
#include "tonekit/Version.h"

int main(int argc, char** argv) {
  using namespace tonekit::cli;
  CLI::App app{"TONEKIT command line: read and change MLD (i-mode melody) files"};
  app.name("tonekit-cli");
  app.set_version_flag("--version", std::string("tonekit-cli ") + tonekit::kVersionString,
                       "Print the version and exit");
  app.require_subcommand(1);
  app.fallthrough(false);

  addRegisteredCommands(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : static_cast<int>(Exit::Usage);
  }
  return static_cast<int>(exitStatus());
}
