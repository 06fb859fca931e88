// norvanectl dpi set on an emulated mouse: from the process start to the process end, by which the settings
// record has been written to the mouse (the write is the command's last step, and the tool ends once it is
// answered). Each run starts the real tool with private per-user folders; the first run makes the profile.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::filesystem::path ToolPath() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "norvanectl";
}

// The exit status of one run, or -1 when it could not start or did not end normally.
int RunTool(const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {ToolPath().string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void BM_DpiSetProcess(benchmark::State& state) {
  char pattern[] = "/tmp/norvane-bench-cli-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_DATA_HOME", pattern, 1);
  unsetenv("NORVANE_EMULATE");
  const std::vector<std::string> command = {"--emulate", "mouse", "dpi", "set", "1", "800"};
  if (RunTool(command) != 0) {
    state.SkipWithError("norvanectl dpi set failed: build the norvanectl target");
    return;
  }
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const int status = RunTool(command);
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    if (status != 0) state.SkipWithError("norvanectl dpi set failed");
    state.SetIterationTime(elapsed.count());
  }
  std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_DpiSetProcess)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
