// tonekit-cli list: the list file that the list window would save for a folder tree.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "core/Failure.h"
#include "file_list/ListFile.h"
#include "file_list/ListMaker.h"
#include "file_list/ListTexts.h"
#include "file_list/clsFileList.h"

namespace tonekit::cli {
namespace {

void writeOut(const ByteString& bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
    throw Failure::of(err::PathFileAccess, "(標準出力に書き込めません)");
}

void addListCommand(CLI::App& app) {
  struct Options {
    std::string folder;
    std::string pattern = kMldPattern;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("list", "Print the list file (code page 932 CSV) of the MLD files below a folder");
  cmd->add_option("DIR", o->folder, "Folder to search")->required();
  cmd->add_option("--pattern", o->pattern, "Wildcard patterns separated by \";\" (default \"*.mld\")");
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      StderrMessages messages{false};
      // Each row is written as soon as its file is read, so memory stays flat however large
      // the tree; the output is the same bytes a save of the whole list appends.
      const std::size_t found = clsFileList().walk(o->folder, o->pattern, [&](const std::string& path) {
        writeOut(listLineBytes(readListItem(path, &messages)));
      });
      if (found == 0) {
        std::cerr << kNoMldFilesMessage << '\n';
        return Exit::Success;
      }
      writeOut(ByteString{'\r', '\n'});
      if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw Failure::of(err::PathFileAccess, "(標準出力に書き込めません)");
      return Exit::Success;
    });
  });
}

const bool listRegistered = registerCommand(40, &addListCommand);

}  // namespace
}  // namespace tonekit::cli
