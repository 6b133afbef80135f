// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#include "file_list/clsOutputBuffer.h"

#include "base/CodePage.h"
#include "file_list/ListTexts.h"

namespace tonekit {

void clsOutputBuffer::AddBuffer(std::string_view strBuffer) {
  const Cp932Encoded encoded = encodeCp932(strBuffer);
  buffer_.insert(buffer_.end(), encoded.bytes.begin(), encoded.bytes.end());
}

void clsOutputBuffer::AddBytes(const ByteString& bytes) { buffer_.insert(buffer_.end(), bytes.begin(), bytes.end()); }

Failure clsOutputBuffer::outputFailure(const std::string& detail) {
  std::string description(kOutputFailedDescription);
  if (!detail.empty()) description += " " + detail;
  return Failure(kOutputFailedNumber, description, kOutputFailedSource);
}

void clsOutputBuffer::FileOutput(const std::filesystem::path& strFileName, LinkRule links, std::string_view lineEnd) const {
  ByteString block;
  block.reserve(buffer_.size() + lineEnd.size());
  block.insert(block.end(), buffer_.begin(), buffer_.end());
  block.insert(block.end(), lineEnd.begin(), lineEnd.end());
  // Lists accumulate in these files; a block that is not whole goes again, so the older lists
  // stay readable as they were.
  try {
    appendToFile(strFileName, block, links);
  } catch (const Failure& failure) {
    throw outputFailure(failure.description());
  }
}

}  // namespace tonekit
