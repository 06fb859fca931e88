// Start-up of the window program: time from process start to the first showing of the main window with
// two emulated devices (keyboard and mouse), and the resident memory once it shows. Each run starts the real
// program (offscreen, without a session bus so that it runs alone, with private per-user folders) and ends
// it as a logout does.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

const std::string kShownLine = "main window: shown";

std::filesystem::path ProgramPath() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "norvane";
}

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

struct Run {
  double seconds = 0;
  long rssKiB = 0;
  bool ok = false;
};

Run StartOnce(const std::filesystem::path& program, const std::filesystem::path& home) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.starts_with("DBUS_SESSION_BUS_ADDRESS=") || entry.starts_with("XDG_") ||
        entry.starts_with("QT_QPA_PLATFORM=") || entry.starts_with("NORVANE_"))
      continue;
    env.push_back(entry);
  }
  env.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/norvane-bench");
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
  env.push_back("XDG_DATA_HOME=" + (home / "data").string());
  env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string programText = program.string();
  std::vector<std::string> argTexts = {programText, "--trace", "--emulate", "keyboard,mouse"};
  std::vector<char*> argv;
  for (std::string& arg : argTexts) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, programText.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  Run run;
  if (spawned != 0) {
    ::close(pipeFds[0]);
    return run;
  }
  std::string seen;
  char buffer[4096];
  while (true) {
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(n));
    if (seen.find(kShownLine) != std::string::npos) {
      run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      run.rssKiB = ResidentKiB(pid);
      run.ok = true;
      break;
    }
  }
  ::kill(pid, SIGTERM);
  // Drain the trace so that the program never blocks on a full pipe while it ends.
  while (::read(pipeFds[0], buffer, sizeof buffer) > 0) {
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return run;
}

void BM_StartupToWindowShown(benchmark::State& state) {
  const std::filesystem::path program = ProgramPath();
  if (!std::filesystem::exists(program)) {
    state.SkipWithError(("the program is not built: " + program.string()).c_str());
    return;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "norvane-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("cannot create a temporary folder");
    return;
  }
  const std::filesystem::path home = pattern;
  for (const char* sub : {"config", "data", "runtime"}) std::filesystem::create_directories(home / sub);
  std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);

  double rssTotal = 0;
  int runs = 0;
  for (auto _ : state) {
    const Run run = StartOnce(program, home);
    if (!run.ok) {
      state.SkipWithError("the window was never shown");
      break;
    }
    state.SetIterationTime(run.seconds);
    rssTotal += static_cast<double>(run.rssKiB);
    ++runs;
  }
  if (runs > 0) state.counters["rss_MiB"] = rssTotal / runs / 1024.0;
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
}
BENCHMARK(BM_StartupToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
