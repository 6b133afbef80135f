#pragma once
// Builds a file's content in memory and appends it to a file in one go.

#include <filesystem>
#include <string_view>

#include "core/ByteString.h"
#include "core/Failure.h"

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
  // source "OutputBuffer.FileOutput", description "出力失敗", and the file is cut back to the
  // length it had, so that it never keeps half a block.
  void FileOutput(const std::filesystem::path& strFileName) const;

  static Failure outputFailure();

 private:
  ByteString buffer_;
};

}  // namespace tonekit
