#include "update/installer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include "update/stop_sleep.h"

extern char** environ;

namespace norvane::update {
namespace {

// Children the program no longer waits for (an opener, an installer left running on a stop). They are
// collected whenever another child is started, so that none stays a zombie for long.
std::mutex g_children_mutex;
std::vector<pid_t> g_unwaited_children;

void CollectUnwaitedChildren() {
  std::lock_guard lock(g_children_mutex);
  std::erase_if(g_unwaited_children, [](pid_t pid) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    return done == pid || (done < 0 && errno == ECHILD);
  });
}

void LeaveUnwaited(pid_t pid) {
  std::lock_guard lock(g_children_mutex);
  g_unwaited_children.push_back(pid);
}

// A child with the defaults a fresh program expects: its own standard streams on /dev/null, no blocked
// signals, default signal handling.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    // Ignored signals would stay ignored across the start; the installer gets the usual handling.
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM})
      sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

class ProcessInstallerRunner final : public IInstallerRunner {
 public:
  explicit ProcessInstallerRunner(std::string openCommand) : openCommand_(std::move(openCommand)) {}

  InstallerRun Run(const std::filesystem::path& file, std::stop_token stop) override {
    CollectUnwaitedChildren();
    InstallerRun run;
    if (::chmod(file.c_str(), S_IRWXU) != 0) {
      run.error = "cannot make " + file.string() + " executable: " + std::strerror(errno);
      return run;
    }
    SpawnSetup setup;
    std::string path = file.string();
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.c_str(), &setup.actions, &setup.attributes, argv, environ);
    if (error != 0) {
      run.error = "cannot start " + path + ": " + std::strerror(error);
      return run;
    }
    run.started = true;
    // Polled, so that a stop request ends the wait at once; the installer itself is never killed.
    constexpr std::chrono::milliseconds kPoll{20};
    for (;;) {
      int status = 0;
      const pid_t done = ::waitpid(pid, &status, WNOHANG);
      if (done == pid) {
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return run;
      }
      if (done < 0 && errno != EINTR) {
        run.error = std::string("lost the installer: ") + std::strerror(errno);
        return run;
      }
      if (!SleepUnlessStopped(kPoll, stop)) {
        LeaveUnwaited(pid);
        run.stopped = true;
        return run;
      }
    }
  }

  bool Open(const std::filesystem::path& file) override {
    CollectUnwaitedChildren();
    SpawnSetup setup;
    std::string command = openCommand_;
    std::string path = file.string();
    char* argv[] = {command.data(), path.data(), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, command.c_str(), &setup.actions, &setup.attributes, argv, environ) != 0) return false;
    LeaveUnwaited(pid);
    return true;
  }

 private:
  std::string openCommand_;
};

}  // namespace

std::shared_ptr<IInstallerRunner> MakeProcessInstallerRunner(std::string openCommand) {
  return std::make_shared<ProcessInstallerRunner>(std::move(openCommand));
}

}  // namespace norvane::update
