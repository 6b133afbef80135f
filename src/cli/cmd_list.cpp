// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli list: the list file that the list window would save for a folder tree.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/CliSupport.h"
#include "base/Failure.h"
#include "file_list/ListFile.h"
#include "file_list/ListMaker.h"
#include "file_list/ListTexts.h"
#include "file_list/clsFileList.h"
#include "base/Translate.h"

namespace tonekit::cli {
namespace {

void writeOut(const ByteString& bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
    throw Failure::of(err::PathFileAccess, TKT("TONEKIT", "(標準出力に書き込めません)"));
}

void addListCommand(CLI::App& app) {
  struct Options {
    std::string folder;
    std::string pattern = kMldPattern;
    bool utf8 = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("list", "Print the list file (code page 932 CSV) of the MLD files below a folder");
  cmd->add_option("DIR", o->folder, "Folder to search")->required();
  cmd->add_option("--pattern", o->pattern, "Wildcard patterns separated by \";\" (default \"*.mld\")");
  cmd->add_flag("--utf8", o->utf8,
                "Print a UTF-8 list (byte order mark first), which holds paths code page 932 cannot");
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      StderrMessages messages{false};
      const ListEncoding encoding = o->utf8 ? ListEncoding::Utf8 : ListEncoding::Cp932;
      bool started = false;
      auto start = [&] {
        if (started) return;
        started = true;
        if (encoding == ListEncoding::Utf8) writeOut(ByteString(std::begin(kUtf8Bom), std::end(kUtf8Bom)));
      };
      // Each row is written as soon as its file is read, so memory stays flat however large
      // the tree; the output is the same bytes a save of the whole list into a new file writes.
      std::size_t unreadable = 0;
      const WalkReport report = clsFileList().walkFiles(o->folder, o->pattern, [&](const FoundFile& file) {
        start();
        std::optional<Failure> why;
        const std::optional<clsMLDListItem> read = readListItem(file, &messages, why);
        if (!read) {
          ++unreadable;
          std::cerr << unreadableText(*why) << '\n';
          return;
        }
        const clsMLDListItem& row = *read;
        const ListRowProblem problem = listRowProblem(row, encoding);
        if (problem == ListRowProblem::None)
          writeOut(listLineBytes(row, encoding));
        else
          std::cerr << leftOutText(row, problem) << '\n';
      });
      if (report.unusablePaths > 0) std::cerr << unusablePathsMessage(report.unusablePaths) << '\n';
      if (report.found == 0) {
        std::cerr << kNoMldFilesMessage << '\n';
        return report.unusablePaths > 0 || unreadable > 0 ? Exit::Failure : Exit::Success;
      }
      writeOut(ByteString{'\r', '\n'});
      if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw Failure::of(err::PathFileAccess, TKT("TONEKIT", "(標準出力に書き込めません)"));
      return report.unusablePaths > 0 || unreadable > 0 ? Exit::Failure : Exit::Success;
    });
  });
}

const bool listRegistered = registerCommand(40, &addListCommand);

}  // namespace
}  // namespace tonekit::cli
