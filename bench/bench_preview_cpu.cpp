// What the window program costs while its lighting preview animates, and while nobody can see it. Each run
// starts an X server of its own (Xvfb, with a screen that gives the 1000 × 640 layout or its 1.5 × scale),
// starts the real program on it with emulated devices and private per-user folders, waits until its window
// is mapped, lets the first synchronisations settle, and then reads the CPU time of every thread of the
// process from /proc over a measuring window. The X server's own work is not counted: it is another process.
//
// Cases: the keyboard page showing its default animated effect, the window shown and then unmapped; the
// mouse page shown (a click on its device tab). Set NORVANE_BENCH_SECONDS for a longer measuring window.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kSettle = 3s;
constexpr auto kShowLimit = 30s;

fs::path ProgramPath() {
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "norvane";
}

std::chrono::duration<double> MeasuringWindow() {
  if (const char* text = std::getenv("NORVANE_BENCH_SECONDS")) {
    if (const double seconds = std::atof(text); seconds > 0) return std::chrono::duration<double>(seconds);
  }
  return 10s;
}

// A child process that is ended (SIGTERM, then waited for) when this goes.
class Child {
 public:
  Child() = default;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { End(); }

  // Starts `args` (searched in PATH) with `env`; `stdoutFd` and `stderrFd` become its output (-1: /dev/null).
  bool Start(const std::vector<std::string>& args, const std::vector<std::string>& env, int stdoutFd = -1,
             int stderrFd = -1, int closeInChild = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) {
      posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (stderrFd >= 0) {
      posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (closeInChild >= 0) posix_spawn_file_actions_addclose(&actions, closeInChild);
    std::vector<std::string> argTexts = args;
    std::vector<char*> argv;
    for (std::string& arg : argTexts) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> envTexts = env;
    std::vector<char*> envp;
    for (std::string& entry : envTexts) envp.push_back(entry.data());
    envp.push_back(nullptr);
    const int spawned = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) pid_ = 0;
    return pid_ != 0;
  }

  // Waits for the process to end by itself; its exit status, or nullopt after `limit`.
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ != 0) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      std::this_thread::sleep_for(10ms);
    }
    return std::nullopt;
  }

  void End() {
    if (pid_ == 0) return;
    ::kill(pid_, SIGTERM);
    if (!Wait(3000ms)) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    pid_ = 0;
  }

  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = 0;
};

std::vector<std::string> BaseEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.starts_with("DBUS_SESSION_BUS_ADDRESS=") || entry.starts_with("XDG_") ||
        entry.starts_with("QT_") || entry.starts_with("NORVANE_") || entry.starts_with("DISPLAY=") ||
        entry.starts_with("WAYLAND_DISPLAY="))
      continue;
    env.push_back(entry);
  }
  return env;
}

// An X server of our own; its display name once it accepts clients.
class XServer {
 public:
  bool Start(const std::string& screen) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const bool started = server_.Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                                        "-nolisten", "tcp", "-noreset"},
                                       BaseEnvironment(), -1, -1, fds[0]);
    ::close(fds[1]);
    std::string number;
    if (started) {
      pollfd ready{fds[0], POLLIN, 0};
      char c = 0;
      while (::poll(&ready, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    }
    ::close(fds[0]);
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
  }
  const std::string& Display() const { return display_; }

 private:
  Child server_;
  std::string display_;
};

// Runs a short helper (xdotool) on the display; its standard output.
std::optional<std::string> RunOnDisplay(const std::string& display, std::vector<std::string> args,
                                        std::chrono::milliseconds limit = 5000ms) {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  std::vector<std::string> env = BaseEnvironment();
  env.push_back("DISPLAY=" + display);
  Child helper;
  const bool started = helper.Start(args, env, fds[1], -1, fds[0]);
  ::close(fds[1]);
  std::string out;
  if (started) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[256];
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd ready{fds[0], POLLIN, 0};
      if (::poll(&ready, 1, 50) <= 0) continue;
      const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      out.append(buffer, std::size_t(n));
    }
  }
  ::close(fds[0]);
  const std::optional<int> status = helper.Wait(500ms);
  if (!started || !status || *status != 0) return std::nullopt;
  return out;
}

// CPU time in nanoseconds of one thread (from its scheduler statistics).
std::uint64_t ThreadCpuNs(const fs::path& task) {
  std::ifstream in(task / "schedstat");
  std::uint64_t ns = 0;
  in >> ns;
  return ns;
}

struct CpuSample {
  std::uint64_t all = 0;
  std::uint64_t ui = 0;
  int threads = 0;
};

CpuSample SampleCpu(pid_t pid) {
  CpuSample sample;
  const fs::path tasks = fs::path("/proc") / std::to_string(pid) / "task";
  std::error_code error;
  for (const fs::directory_entry& task : fs::directory_iterator(tasks, error)) {
    const std::uint64_t ns = ThreadCpuNs(task.path());
    sample.all += ns;
    ++sample.threads;
    if (task.path().filename() == std::to_string(pid)) sample.ui = ns;
  }
  return sample;
}

enum class Action { kNone, kUnmap, kShowMousePage };

struct Case {
  const char* screen;
  double scale;
  Action action;
};

// The mouse's device tab in the 1000 × 640 layout: the first tab of the strip, whose devices come in
// catalogue order (the mouse before the keyboard).
constexpr int kMouseTabX = 82;
constexpr int kMouseTabY = 122;

void RunCase(benchmark::State& state, const Case& c) {
  const fs::path program = ProgramPath();
  if (!fs::exists(program)) {
    state.SkipWithError(("the program is not built: " + program.string()).c_str());
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "norvane-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("cannot create a temporary folder");
    return;
  }
  const fs::path home = pattern;
  for (const char* sub : {"config", "data", "runtime"}) fs::create_directories(home / sub);
  fs::permissions(home / "runtime", fs::perms::owner_all);

  for (auto _ : state) {
    XServer x;
    if (!x.Start(c.screen)) {
      state.SkipWithError("Xvfb did not start");
      break;
    }
    std::vector<std::string> env = BaseEnvironment();
    env.push_back("DISPLAY=" + x.Display());
    env.push_back("QT_QPA_PLATFORM=xcb");
    // No session bus: the program runs as the only instance and with no tray to hide in.
    env.push_back("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/norvane-bench");
    env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
    env.push_back("XDG_DATA_HOME=" + (home / "data").string());
    env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
    Child norvane;
    if (!norvane.Start({program.string(), "--emulate", "keyboard,mouse"}, env)) {
      state.SkipWithError("the program did not start");
      break;
    }
    const std::optional<std::string> window =
        RunOnDisplay(x.Display(),
                     {"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(norvane.Pid())},
                     std::chrono::duration_cast<std::chrono::milliseconds>(kShowLimit));
    std::string windowId;
    if (window) std::istringstream(*window) >> windowId;
    if (windowId.empty()) {
      state.SkipWithError("the window was never shown");
      break;
    }
    std::this_thread::sleep_for(kSettle);
    if (c.action == Action::kUnmap) {
      (void)RunOnDisplay(x.Display(), {"xdotool", "windowunmap", "--sync", windowId});
    } else if (c.action == Action::kShowMousePage) {
      (void)RunOnDisplay(x.Display(), {"xdotool", "mousemove", "--window", windowId,
                                       std::to_string(int(kMouseTabX * c.scale)),
                                       std::to_string(int(kMouseTabY * c.scale)), "click", "1"});
    }
    if (c.action != Action::kNone) std::this_thread::sleep_for(1s);

    const CpuSample before = SampleCpu(norvane.Pid());
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(MeasuringWindow());
    const CpuSample after = SampleCpu(norvane.Pid());
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    state.SetIterationTime(wall);
    state.counters["cpu_percent_all_threads"] = 100.0 * double(after.all - before.all) / 1e9 / wall;
    state.counters["cpu_percent_ui_thread"] = 100.0 * double(after.ui - before.ui) / 1e9 / wall;
    state.counters["threads"] = after.threads;
  }
  std::error_code ignored;
  fs::remove_all(home, ignored);
}

void BM_KeyboardPreviewShown(benchmark::State& state) {
  RunCase(state, {"1280x800x24", 1.0, Action::kNone});
}
void BM_KeyboardPreviewShown_1_5x(benchmark::State& state) {
  RunCase(state, {"1920x1080x24", 1.5, Action::kNone});
}
void BM_KeyboardPreviewUnmapped(benchmark::State& state) {
  RunCase(state, {"1280x800x24", 1.0, Action::kUnmap});
}
void BM_KeyboardPreviewUnmapped_1_5x(benchmark::State& state) {
  RunCase(state, {"1920x1080x24", 1.5, Action::kUnmap});
}
void BM_MousePageShown(benchmark::State& state) {
  RunCase(state, {"1280x800x24", 1.0, Action::kShowMousePage});
}
void BM_MousePageShown_1_5x(benchmark::State& state) {
  RunCase(state, {"1920x1080x24", 1.5, Action::kShowMousePage});
}

BENCHMARK(BM_KeyboardPreviewShown)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_KeyboardPreviewShown_1_5x)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_KeyboardPreviewUnmapped)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_KeyboardPreviewUnmapped_1_5x)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_MousePageShown)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_MousePageShown_1_5x)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
