#include "core/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tonekit {
namespace {

std::string describe(const fs::path& path, int errorNumber) {
  return path.string() + " (" + std::generic_category().message(errorNumber) + ")";
}

// The file a chain of symbolic links ends at; the path itself when it is no link.
fs::path followLinks(fs::path path) {
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hops) {
    fs::path next = fs::read_symlink(path, ec);
    if (ec) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return path;
}

std::string randomSuffix() {
  static std::mt19937_64 rng{std::random_device{}()};
  static constexpr char chars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string s;
  for (int i = 0; i < 8; ++i) s.push_back(chars[rng() % (sizeof(chars) - 1)]);
  return s;
}

}  // namespace

ByteString readWholeFile(const fs::path& path) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (ec || !fs::exists(status)) throw Failure::of(err::FileNotFound, path.string());
  if (!fs::is_regular_file(status)) throw Failure::of(err::PathFileAccess, path.string());
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure::of(err::PathFileAccess, describe(path, errno));
  ByteString data;
  // Grows with what is really there, never with a size the file claims.
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    data.insert(data.end(), buffer, buffer + in.gcount());
  }
  if (in.bad()) throw Failure::of(err::PathFileAccess, describe(path, errno));
  return data;
}

#ifndef _WIN32

std::optional<Failure> replaceFileSafely(const fs::path& requested, const ByteString& content) {
  const fs::path target = followLinks(requested);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return Failure::of(err::PathFileAccess, target.string());

  fs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = folder / ("." + target.filename().string() + ".tonekit-" + randomSuffix());
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return Failure::of(err::PathFileAccess, describe(target, errno));
  }
  if (fd < 0) return Failure::of(err::PathFileAccess, describe(target, EEXIST));

  auto fail = [&](int errorNumber) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    return Failure::of(err::PathFileAccess, describe(target, errorNumber));
  };

  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (existed && ::fchmod(fd, old.st_mode & 07777) != 0) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    fd = -1;
    return fail(errno);
  }
  fd = -1;
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);

  // The rename is durable only once the folder is flushed too.
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return std::nullopt;
}

#else

std::optional<Failure> replaceFileSafely(const fs::path& requested, const ByteString& content) {
  const fs::path target = followLinks(requested);
  fs::path temp = target;
  temp += ".tonekit-" + randomSuffix();
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      return Failure::of(err::PathFileAccess, target.string());
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return Failure::of(err::PathFileAccess, target.string() + " (" + ec.message() + ")");
  }
  return std::nullopt;
}

#endif

}  // namespace tonekit
