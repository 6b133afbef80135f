// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Builds a file's content in memory and appends it to a file in one go.

#include <filesystem>
#include <string_view>

#include "base/ByteString.h"
#include "base/Failure.h"
#include "base/SafeFile.h"

namespace tonekit {

class clsOutputBuffer {
 public:
  // Appends text (UTF-8), converted to code page 932.
  void AddBuffer(std::string_view strBuffer);
  // Appends bytes that are code page 932 already (titles as their files hold them).
  void AddBytes(const ByteString& bytes);
  void Clear() { buffer_.clear(); }
  const ByteString& bytes() const { return buffer_; }

  // Appends the buffer and one CR LF to strFileName (created when missing) and flushes it to
  // disk. The buffer is kept. On failure raises outputFailure(): number kOutputFailedNumber,
  // source "OutputBuffer.FileOutput", description "出力失敗" followed by the path and the
  // reason, and the file is cut back to the length it had (removed when this call made it), so
  // that it never keeps half a block. Only a regular file is written; links as appendToFile.
  // lineEnd replaces the CR LF for a file whose lines end otherwise.
  void FileOutput(const std::filesystem::path& strFileName, LinkRule links = LinkRule::FollowOwned,
                  std::string_view lineEnd = "\r\n") const;

  static Failure outputFailure(const std::string& detail = {});

 private:
  ByteString buffer_;
};

}  // namespace tonekit
