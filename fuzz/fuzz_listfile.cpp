// The list file reader on arbitrary bytes: never crashes, and what it reads writes back to a
// file that reads the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/CodePage.h"
#include "file_list/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonekit;
  const ByteString input(data, data + size);
  const ListFileContent first = parseListFile(input);
  if (!first.items.empty() && !first.hadLines) std::abort();

  const ListFileContent second = parseListFile(listFileBytes(first.items));
  if (second.items.size() != first.items.size()) std::abort();
  for (std::size_t i = 0; i < first.items.size(); ++i) {
    if (second.items[i].MLDTitle != first.items[i].MLDTitle) std::abort();
    const Cp932Encoded path = encodeCp932(first.items[i].MLDPath);
    if (path.exact && second.items[i].MLDPath != first.items[i].MLDPath) std::abort();
  }
  return 0;
}
