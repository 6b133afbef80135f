// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The list file reader on arbitrary bytes: never crashes, and what it reads writes back, in
// either encoding, to a file that reads the same again, less the rows said to be left out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/CodePage.h"
#include "file_list/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonekit;
  const ByteString input(data, data + size);
  const ListFileContent first = parseListFile(input);
  if (!first.items.empty() && !first.hadLines) std::abort();

  for (const ListEncoding encoding : {ListEncoding::Cp932, ListEncoding::Utf8}) {
    std::vector<std::size_t> leftOut;
    // Read back as written: the quotes as CSV, the encoding as chosen (a code page 932 title can
    // be UTF-8 too, a quoted quote an earlier version's bare one).
    ListReadOptions written;
    written.encoding = encoding;
    written.quotes = QuoteReading::Csv;
    const ListFileContent second = parseListFile(listFileBytes(first.items, encoding, &leftOut), written);
    if (second.items.size() + leftOut.size() != first.items.size()) std::abort();
    std::size_t k = 0, skipped = 0;
    for (std::size_t i = 0; i < first.items.size(); ++i) {
      if (skipped < leftOut.size() && leftOut[skipped] == i) {
        ++skipped;
        continue;
      }
      const clsMLDListItem& back = second.items[k++];
      // A written row names its own file; its title reads as the same text.
      if (back.MLDPath != first.items[i].MLDPath) std::abort();
      if (encoding == ListEncoding::Cp932 ? back.MLDTitle != first.items[i].MLDTitle
                                          : decodeCp932(back.MLDTitle) != decodeCp932(first.items[i].MLDTitle))
        std::abort();
    }
  }
  return 0;
}
