// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// tonekit-cli apply: the list window's batch title update, for a list file, without asking.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "cli/CliSupport.h"
#include "file_list/BatchUpdate.h"
#include "file_list/ListFile.h"
#include "file_list/ListTexts.h"

namespace tonekit::cli {
namespace {

void addApplyCommand(CLI::App& app) {
  struct Options {
    std::string listFile;
    std::string errors;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("apply", "Write the titles of a list file into the files it names");
  cmd->add_option("LISTFILE", o->listFile, "List file (code page 932 CSV)")->required();
  cmd->add_option("--errors", o->errors, "Where failed rows are appended (default: ExecuteError.csv in the program's folder)");
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      ListFileContent list = readListFile(o->listFile);
      // Lines that give no row and titles that would lose characters fail; nothing is written for them.
      for (const BadListLine& bad : list.badLines) std::cerr << badLineText(o->listFile, bad) << '\n';
      for (const LossyListTitle& lossy : list.lossyTitles)
        std::cerr << list.items[lossy.row].MLDPath << ": " << lossyTitleText(lossy) << '\n';
      const std::size_t refused = list.badLines.size() + list.lossyTitles.size();
      list.items = dropRows(std::move(list.items), list.lossyTitles);
      if (!list.hadLines) {
        std::cerr << kNoListInFileMessage << '\n';
        return Exit::Failure;
      }
      if (list.items.empty()) {
        if (refused == 0) std::cerr << kNoListMessage << '\n';
        return Exit::Failure;
      }
      std::filesystem::path errorFile = o->errors;
      if (errorFile.empty()) {
        try {
          errorFile = defaultErrorFilePath();
        } catch (const Failure& failure) {
          throw Failure(failure.number(), failure.description() + " --errors でエラーファイルを指定してください。");
        }
      }
      StderrMessages messages{false};
      BatchUpdateJob job(std::move(list.items), errorFile, &messages);
      const BatchSummary summary = job.run([&](const RowResult& row) {
        if (row.failure) std::cerr << job.items()[row.index].MLDPath << ": " << row.failure->line() << '\n';
      });
      std::cout << "written " << summary.written << ", unchanged " << summary.unchanged << ", failed "
                << summary.failed + refused << '\n';
      std::cout.flush();
      if (summary.errorFileFailure) {
        std::cerr << summary.errorFileFailure->line() << '\n';
        return Exit::Failure;
      }
      if (summary.errorFileWritten) std::cerr << job.errorFileMessage() << '\n';
      for (const std::size_t i : summary.leftOutOfErrorFile)
        std::cerr << leftOutText(job.items()[i], listRowProblem(job.items()[i], ListEncoding::Cp932)) << '\n';
      return summary.failed + refused == 0 ? Exit::Success : Exit::Failure;
    });
  });
}

const bool applyRegistered = registerCommand(50, &addApplyCommand);

}  // namespace
}  // namespace tonekit::cli
