// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// Runs a piece of a test in a forked child: as another user (nobody, 65534) for the rules that
// only bite when the program is not root (as root, CI exercises them this way), or under a file
// size limit, the deterministic stand-in for a full disk; or races the test as that user.

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <chrono>
#include <cstdlib>

namespace tonekit::test {

inline constexpr uid_t kOtherUser = 65534;

inline bool becomeOtherUser() {
  return ::geteuid() == 0 && ::setgroups(0, nullptr) == 0 && ::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0;
}

// A child racing the test as the other user: runs round until it returns false (it got
// somewhere it must not) or the test ends, which kills it.
class RacingChild {
 public:
  explicit RacingChild(const std::function<bool()>& round) {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (!becomeOtherUser()) ::_exit(2);
      while (round()) {
      }
      ::_exit(1);
    }
  }
  ~RacingChild() {
    if (running()) ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  RacingChild(const RacingChild&) = delete;
  RacingChild& operator=(const RacingChild&) = delete;

  // False once the child has stopped by itself; breached() says whether it got through.
  bool running() {
    if (status_ < 0 && ::waitpid(pid_, &status_, WNOHANG) == 0) return true;
    return false;
  }
  bool breached() { return !running() && WIFEXITED(status_) && WEXITSTATUS(status_) == 1; }

 private:
  pid_t pid_;
  int status_ = -1;
};

// body's result (0 for success) as the child's exit status; -1 when the child could not become
// the other user (the caller skips then).
inline int inChild(const std::function<int()>& body, bool otherUser, rlim_t fileSizeLimit = 0) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (fileSizeLimit) {
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (otherUser && !becomeOtherUser()) ::_exit(255);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return 254;
  return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

// How long a live race runs: TONEKIT_RACE_SECONDS, else 5 seconds.
inline std::chrono::steady_clock::time_point raceDeadline() {
  const char* text = std::getenv("TONEKIT_RACE_SECONDS");
  const double seconds = text && std::atof(text) > 0 ? std::atof(text) : 5.0;
  return std::chrono::steady_clock::now() +
         std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace tonekit::test
