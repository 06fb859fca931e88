#pragma once
// A real program under a name of the test's choosing (a copy of sleep), started and ended like a game, so
// that whatever watches the machine's programs sees it come and go.

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

namespace norvane::testing {

class CopiedProgram {
 public:
  explicit CopiedProgram(std::filesystem::path path) : path_(std::move(path)) {
    std::filesystem::copy_file("/bin/sleep", path_);
  }
  ~CopiedProgram() { Stop(); }
  CopiedProgram(const CopiedProgram&) = delete;
  CopiedProgram& operator=(const CopiedProgram&) = delete;

  void Start() {
    pid_ = fork();
    if (pid_ == 0) {
      execl(path_.c_str(), path_.c_str(), "60", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  pid_t Pid() const { return pid_; }

 private:
  std::filesystem::path path_;
  pid_t pid_ = -1;
};

}  // namespace norvane::testing
