// The audio capture companion against a private sound server (PulseAudio, a null sink as the default
// output): its CPU share while music-like sound plays (its own process, from /proc), and the delay from a
// sound written to the server to the first level record that shows it at a stand-in for the window. The
// window then feeds the keyboard on every third record and the keyboard draws 32 frames a second: add up to
// two records (21 ms) and one frame (31 ms) for the delay to a keyboard frame.
//
// Skipped (reported as 0) where pulseaudio or a D-Bus daemon is missing.

#include <benchmark/benchmark.h>
#include <pulse/simple.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <numbers>
#include <thread>

#include "tests/support/private_bus.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using SteadyTime = std::chrono::steady_clock::time_point;

const QString kCompanion = QStringLiteral(NORVANE_BINARY_DIR "/bin/norvane-audio");

class WindowStandIn : public QDBusVirtualObject {
 public:
  explicit WindowStandIn(const QString& address) : connection_(QDBusConnection::connectToBus(address, "bench-window")) {
    connection_.registerVirtualObject(QStringLiteral("/org/norvane/Norvane"), this);
    connection_.registerService(QStringLiteral("org.norvane.Norvane"));
  }
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QList<QVariant> args = message.arguments();
    if (args.size() == 2 && args[0].toLongLong() == 1) {
      const QByteArray data = args[1].toByteArray();
      const auto* values = reinterpret_cast<const std::int32_t*>(data.constData());
      std::int32_t loudest = 0;
      for (qsizetype i = 0; i < data.size() / 4; ++i) loudest = std::max(loudest, std::abs(values[i]));
      if (loudest > 1000 && !firstLoud.load()) firstLoudAt = std::chrono::steady_clock::now(), firstLoud = true;
      ++records;
    }
    connection.send(message.createReply());
    return true;
  }
  std::atomic<int> records{0};
  std::atomic<bool> firstLoud{false};
  SteadyTime firstLoudAt{};

 private:
  QDBusConnection connection_;
};

double ProcessCpuSeconds(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string field;
  double ticks = 0;
  for (int i = 1; i <= 15 && stat >> field; ++i)
    if (i == 14 || i == 15) ticks += std::stod(field);
  return ticks / double(sysconf(_SC_CLK_TCK));
}

void BM_AudioCompanion(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "bench_audio_companion";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  double cpuPercent = 0;
  double delayMs = 0;
  double recordsPerSecond = 0;
  for (auto _ : state) {
    norvane::testing::TempFolder folder;
    norvane::testing::PrivateBus bus;
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() || !QFileInfo::exists(kCompanion) || !bus.Start()) {
      state.SkipWithError("no pulseaudio, companion or D-Bus daemon");
      return;
    }
    const QString runtime = QString::fromStdString((folder.path()).string());
    const QString socket = runtime + "/native";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* key : {"XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "HOME"}) env.insert(key, runtime);
    env.insert("PULSE_SERVER", "unix:" + socket);
    env.insert("DBUS_SESSION_BUS_ADDRESS", bus.Address());
    QProcess server;
    server.setProcessEnvironment(env);
    server.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "--use-pid-file=no",
                                "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket, "-L",
                                "module-null-sink sink_name=lighting rate=48000"});
    for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i) std::this_thread::sleep_for(50ms);
    WindowStandIn window(bus.Address());
    QProcess companion;
    companion.setProcessEnvironment(env);
    companion.start(kCompanion, {});
    companion.waitForStarted();
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(500ms);

    // The sound, written straight to the server with a short buffer: 1 s of silence, then 4 s of a chord.
    const std::string server_address = ("unix:" + socket).toStdString();
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, 48000, 1};
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = 480 * 4;  // 10 ms
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(-1);
    int error = 0;
    pa_simple* out = pa_simple_new(server_address.c_str(), "bench", PA_STREAM_PLAYBACK, "lighting", "sound", &spec,
                                   nullptr, &attr, &error);
    std::atomic<bool> done{false};
    SteadyTime soundAt{};
    std::thread player([&] {
      std::vector<float> block(480);
      for (int b = 0; b < 100 && out; ++b) pa_simple_write(out, block.data(), block.size() * 4, &error);
      soundAt = std::chrono::steady_clock::now();
      for (int b = 0; b < 400 && out; ++b) {
        for (std::size_t i = 0; i < block.size(); ++i) {
          const double t = double(b * 480 + int(i)) / 48000;
          block[i] = float(0.3 * (std::sin(2 * std::numbers::pi * 220 * t) + std::sin(2 * std::numbers::pi * 330 * t)));
        }
        pa_simple_write(out, block.data(), block.size() * 4, &error);
      }
      done = true;
    });
    const double cpuBefore = ProcessCpuSeconds(companion.processId());
    const int recordsBefore = window.records.load();
    const auto started = std::chrono::steady_clock::now();
    while (!done) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      std::this_thread::sleep_for(5ms);
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    cpuPercent = 100.0 * (ProcessCpuSeconds(companion.processId()) - cpuBefore) / wall;
    recordsPerSecond = (window.records.load() - recordsBefore) / wall;
    player.join();
    if (out) pa_simple_free(out);
    delayMs = window.firstLoud ? std::chrono::duration<double, std::milli>(window.firstLoudAt - soundAt).count() : -1;
    for (QProcess* process : {&companion, &server}) {
      ::kill(pid_t(process->processId()), SIGTERM);
      process->waitForFinished(3000);
    }
  }
  state.counters["companion_cpu_percent"] = cpuPercent;
  state.counters["level_records_per_second"] = recordsPerSecond;
  state.counters["sound_to_record_ms"] = delayMs;
}

BENCHMARK(BM_AudioCompanion)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
