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
#include "base/Translate.h"

namespace tonekit::cli {
namespace {

void addApplyCommand(CLI::App& app) {
  struct Options {
    std::string listFile;
    std::string errors;
    std::string quotes;
    std::string encoding;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("apply", "Write the titles of a list file into the files it names");
  cmd->add_option("LISTFILE", o->listFile, "List file (code page 932 CSV)")->required();
  cmd->add_option("--errors", o->errors, "Where failed rows are appended (default: ExecuteError.csv in the program's folder)");
  cmd->add_option("--quotes", o->quotes,
                  "How lines that read two ways are read: new (CSV, \"\" for a quote) or old (as earlier versions wrote them)")
      ->check(CLI::IsMember({"new", "old"}));
  cmd->add_option("--encoding", o->encoding, "The list's encoding where its bytes read both ways: utf-8 or cp932")
      ->check(CLI::IsMember({"utf-8", "cp932"}));
  cmd->callback([o] {
    exitStatus() = runGuarded([&] {
      ListReadOptions read;
      if (!o->quotes.empty()) read.quotes = o->quotes == "old" ? QuoteReading::Old : QuoteReading::Csv;
      if (!o->encoding.empty()) read.encoding = o->encoding == "utf-8" ? ListEncoding::Utf8 : ListEncoding::Cp932;
      ListFileContent list = readListFile(o->listFile, read);
      if (list.encodingAmbiguous)
        throw Failure::of(err::InvalidCall, std::string("(") + kAmbiguousEncodingMessage +
                                                TKT("TONEKIT", " --encoding utf-8 か --encoding cp932 で指定してください: ") + o->listFile + ")");
      // Lines that give no row and titles that would lose characters fail; nothing is written for
      // them, their lines go to the error file.
      for (const BadListLine& bad : list.badLines) std::cerr << badLineText(o->listFile, bad) << '\n';
      if (list.ambiguousLines > 0) std::cerr << TKT("TONEKIT", "--quotes new か --quotes old で読み方を選んでください。\n");
      for (const LossyListTitle& lossy : list.lossyTitles)
        std::cerr << list.items[lossy.row].MLDPath << ": " << lossyTitleText(lossy) << '\n';
      const std::size_t refused = list.badLines.size() + list.lossyTitles.size();
      std::vector<ByteString> refusedLines;
      for (const BadListLine& bad : list.badLines) refusedLines.push_back(bad.raw);
      for (const LossyListTitle& lossy : list.lossyTitles) refusedLines.push_back(lossy.raw);
      list.items = dropRows(std::move(list.items), list.lossyTitles);
      if (!list.hadLines) {
        std::cerr << kNoListInFileMessage << '\n';
        return Exit::Failure;
      }
      if (list.items.empty() && refused == 0) {
        std::cerr << kNoListMessage << '\n';
        return Exit::Failure;
      }
      std::filesystem::path errorFile = o->errors;
      if (errorFile.empty()) {
        try {
          errorFile = defaultErrorFilePath();
        } catch (const Failure& failure) {
          throw Failure(failure.number(), failure.description() + TKT("TONEKIT", " --errors でエラーファイルを指定してください。"));
        }
      }
      StderrMessages messages{false};
      BatchUpdateJob job(std::move(list.items), errorFile, &messages);
      job.setListEncoding(list.encoding);
      for (const ByteString& line : refusedLines) job.refuse(line);
      const BatchSummary summary = job.run([&](const RowResult& row) {
        if (row.failure) std::cerr << job.items()[row.index].MLDPath << ": " << row.failure->line() << '\n';
      });
      std::cout << "written " << summary.written << ", unchanged " << summary.unchanged << ", failed " << summary.failed
                << '\n';
      std::cout.flush();
      if (summary.errorFileFailure) {
        std::cerr << summary.errorFileFailure->line() << '\n';
        return Exit::Failure;
      }
      if (summary.errorFileWritten) std::cerr << job.errorFileMessage() << '\n';
      for (const std::size_t i : summary.leftOutOfErrorFile)
        std::cerr << leftOutText(job.items()[i], listRowProblem(job.items()[i], ListEncoding::Cp932)) << '\n';
      if (!summary.refusedLeftOutOfErrorFile.empty())
        std::cerr << TKT("TONEKIT", "エラーファイルの文字コードで書けない行 ") << summary.refusedLeftOutOfErrorFile.size()
                  << TKT("TONEKIT", " 行は、エラーファイルに入れませんでした。\n");
      return summary.failed == 0 ? Exit::Success : Exit::Failure;
    });
  });
}

const bool applyRegistered = registerCommand(50, &addApplyCommand);

}  // namespace
}  // namespace tonekit::cli
