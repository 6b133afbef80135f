#include "core/AppFolder.h"

#include <cstdlib>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace tonekit {

fs::path executableFolder() {
  std::error_code ec;
#ifdef __linux__
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) return exe.parent_path();
#endif
  const fs::path here = fs::current_path(ec);
  return ec ? fs::path(".") : here;
}

fs::path writableProgramFolder() {
  const fs::path own = executableFolder();
#ifndef _WIN32
  if (::access(own.c_str(), W_OK) == 0) return own;
#else
  return own;
#endif
  fs::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    base = fs::temp_directory_path();
  }
  const fs::path folder = base / "tonekit";
  std::error_code ec;
  fs::create_directories(folder, ec);
  return folder;
}

}  // namespace tonekit
