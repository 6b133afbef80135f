// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// Runs a fuzz target's entry point once over every file of the folders (or files) named, without
// libFuzzer: the starting inputs and every input a fuzzer ever found trouble with become an
// ordinary test in every build. A crash, a sanitizer report or an abort fails the test.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

void replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path place = argv[i];
    if (fs::is_regular_file(place)) {
      replay(place);
      ++count;
      continue;
    }
    if (!fs::is_directory(place)) continue;  // a target without crashers has no folder yet
    for (const auto& entry : fs::recursive_directory_iterator(place)) {
      if (!entry.is_regular_file() || entry.path().filename().string().starts_with('.')) continue;
      replay(entry.path());
      ++count;
    }
  }
  std::cout << count << " inputs replayed\n";
  return 0;
}
