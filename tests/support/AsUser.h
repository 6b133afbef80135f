#pragma once
// Runs a piece of a test in a forked child: as another user (nobody, 65534) for the rules that
// only bite when the program is not root (as root, CI exercises them this way), or under a file
// size limit, the deterministic stand-in for a full disk.

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tonekit::test {

inline constexpr uid_t kOtherUser = 65534;

// body's result (0 for success) as the child's exit status; -1 when the child could not become
// the other user (the caller skips then).
inline int inChild(const std::function<int()>& body, bool otherUser, rlim_t fileSizeLimit = 0) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (fileSizeLimit) {
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      ::signal(SIGXFSZ, SIG_IGN);
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (otherUser && (::geteuid() != 0 || ::setgroups(0, nullptr) != 0 || ::setgid(kOtherUser) != 0 ||
                      ::setuid(kOtherUser) != 0))
      ::_exit(255);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return 254;
  return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

}  // namespace tonekit::test
