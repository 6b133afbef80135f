#include "file_list/clsOutputBuffer.h"

#include "core/CodePage.h"
#include "file_list/ListTexts.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace tonekit {

namespace {
constexpr std::uint8_t kCrLf[] = {'\r', '\n'};
}

void clsOutputBuffer::AddBuffer(std::string_view strBuffer) {
  const Cp932Encoded encoded = encodeCp932(strBuffer);
  buffer_.insert(buffer_.end(), encoded.bytes.begin(), encoded.bytes.end());
}

void clsOutputBuffer::AddBytes(const ByteString& bytes) { buffer_.insert(buffer_.end(), bytes.begin(), bytes.end()); }

Failure clsOutputBuffer::outputFailure() {
  return Failure(kOutputFailedNumber, kOutputFailedDescription, kOutputFailedSource);
}

#ifndef _WIN32

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void clsOutputBuffer::FileOutput(const std::filesystem::path& strFileName) const {
  const int fd = ::open(strFileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) throw outputFailure();
  struct stat before {};
  if (::fstat(fd, &before) != 0) {
    ::close(fd);
    throw outputFailure();
  }
  const bool ok = writeAll(fd, buffer_.data(), buffer_.size()) && writeAll(fd, kCrLf, sizeof kCrLf);
  // Lists accumulate in these files; a block that is not whole goes again, so the older lists
  // stay readable as they were.
  if (!ok || ::fsync(fd) != 0) {
    if (S_ISREG(before.st_mode)) {
      const int ignored = ::ftruncate(fd, before.st_size);
      (void)ignored;
    }
    ::close(fd);
    throw outputFailure();
  }
  if (::close(fd) != 0) throw outputFailure();
}

#else

void clsOutputBuffer::FileOutput(const std::filesystem::path& strFileName) const {
  std::ofstream out(strFileName, std::ios::binary | std::ios::app);
  if (!out) throw outputFailure();
  out.write(reinterpret_cast<const char*>(buffer_.data()), static_cast<std::streamsize>(buffer_.size()));
  out.write(reinterpret_cast<const char*>(kCrLf), sizeof kCrLf);
  out.flush();
  if (!out) throw outputFailure();
  out.close();
  if (!out) throw outputFailure();
}

#endif

}  // namespace tonekit
