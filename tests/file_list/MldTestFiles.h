// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// MLD files for the list tests, made from the project's samples with the document itself.

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "base/ByteString.h"
#include "base/CodePage.h"
#include "mld/clsMLD.h"

namespace tonekit::test {

inline ByteString sjis(const char* utf8) { return encodeCp932(utf8).bytes; }

// A copy of a sample with the given title bytes; without a title chunk when withTitle is false.
inline std::filesystem::path writeMld(const std::filesystem::path& path, const ByteString& title,
                                      bool withTitle = true, const char* sample = "kirakira.mld") {
  std::filesystem::create_directories(path.parent_path());
  clsMLD doc;
  doc.MLDFile = std::string(TONEKIT_SAMPLES_DIR) + "/" + sample;
  doc.ParseMLD();
  doc.MLDTitl = title;
  doc.MLDTitlEnabled = withTitle;
  doc.MLDFile = path.string();
  doc.SaveMLD();
  return path;
}

inline ByteString titleOf(const std::filesystem::path& path) {
  clsMLD doc;
  doc.MLDFile = path.string();
  doc.ParseMLD();
  return doc.MLDTitl;
}

}  // namespace tonekit::test
