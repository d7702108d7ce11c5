#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "file_faults.h"
#include "host.h"

namespace sim {

ChildEnd RunUntilKilled(Host& host, const std::filesystem::path& folder, KillPoint point,
                        const std::function<void()>& action) {
  // What this process has buffered would otherwise be written twice, once by the child.
  (void)std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return ChildEnd::Failed;
  if (child == 0) {
    int code = 0;
    try {
      host.fileFaults().watchKillPoints(folder, point);
      action();
    } catch (...) {
      code = 2;
    }
    // No exit handlers, no destructors: the parent's host owns the folder, its files and its registrations.
    _exit(code);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return ChildEnd::Failed;
  }
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return ChildEnd::Killed;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::Finished : ChildEnd::Failed;
}

}  // namespace sim
