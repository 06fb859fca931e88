// The audio capture companion against a private sound server (PulseAudio, a null sink as the default
// output), as the program runs it:
//   BM_AudioCompanion: its CPU share while music-like sound plays (its own process, from /proc), the level
//   records a second, and the delay from a sound written to the server to the first level record that
//   shows it at a stand-in for the window.
//   BM_SoundToKeyboardFrame: the whole way from a sound to the keyboard. Tone bursts are written to the
//   server; the window's processing of the records (every third to the keyboard) feeds an emulated
//   keyboard in music effect 29, whose lighting thread draws and whose frames are presented every 10 ms as
//   the window's timer does; the time of the first streamed frame brighter than silence left it,
//   after each burst was written. (The burst is heard at most the playback buffer, 10 ms, later than it
//   was written: the figures err on the long side by up to that.)
//
// Skipped where pulseaudio, the companion or a D-Bus daemon is missing.

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
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

#include "app/audio_levels.h"
#include "bench/bench_support.h"
#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "protocol/channel_opener.h"
#include "tests/support/private_bus.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using namespace norvane;
using SteadyTime = std::chrono::steady_clock::time_point;

const QString kCompanion = QStringLiteral(NORVANE_BINARY_DIR "/bin/norvane-audio");
constexpr int kRate = 48000;
constexpr std::size_t kBlock = 480;  // 10 ms

// The window's end of the bus: hands each level record to `onLevels`, on the bus thread.
class WindowStandIn : public QDBusVirtualObject {
 public:
  using LevelHandler = std::function<void(std::span<const std::int32_t>)>;
  WindowStandIn(const QString& address, LevelHandler onLevels)
      : connection_(QDBusConnection::connectToBus(address, "bench-window")), onLevels_(std::move(onLevels)) {
    connection_.registerVirtualObject(QStringLiteral("/org/norvane/Norvane"), this);
    connection_.registerService(QStringLiteral("org.norvane.Norvane"));
  }
  ~WindowStandIn() override {
    connection_.unregisterObject(QStringLiteral("/org/norvane/Norvane"));
    QDBusConnection::disconnectFromBus(QStringLiteral("bench-window"));
  }
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
    const QList<QVariant> args = message.arguments();
    if (args.size() != 2 || args[0].toLongLong() != 1) return true;
    const QByteArray data = args[1].toByteArray();
    onLevels_(std::span<const std::int32_t>(reinterpret_cast<const std::int32_t*>(data.constData()),
                                            std::size_t(data.size()) / 4));
    return true;
  }

 private:
  QDBusConnection connection_;
  LevelHandler onLevels_;
};

double ProcessCpuSeconds(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string field;
  double ticks = 0;
  for (int i = 1; i <= 15 && stat >> field; ++i)
    if (i == 14 || i == 15) ticks += std::stod(field);
  return ticks / double(sysconf(_SC_CLK_TCK));
}

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_audio_companion";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

// A private bus, a private sound server with a null sink, and the companion on both; a playback stream
// into the sink with a 10 ms buffer.
class SoundRig {
 public:
  // Empty when it runs; otherwise why not.
  std::string Start() {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()) return "no pulseaudio";
    if (!QFileInfo::exists(kCompanion)) return "the companion was not built";
    if (!bus_.Start()) return "no D-Bus daemon";
    const QString runtime = QString::fromStdString(folder_.path().string());
    socket_ = runtime + "/native";
    env_ = QProcessEnvironment::systemEnvironment();
    for (const char* key : {"XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "HOME"})
      env_.insert(key, runtime);
    env_.insert("PULSE_SERVER", "unix:" + socket_);
    env_.insert("DBUS_SESSION_BUS_ADDRESS", bus_.Address());
    server_.setProcessEnvironment(env_);
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start("pulseaudio",
                  {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "--use-pid-file=no",
                   "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket_, "-L",
                   "module-null-sink sink_name=lighting rate=48000"});
    for (int i = 0; i < 100 && !QFileInfo::exists(socket_); ++i) std::this_thread::sleep_for(50ms);
    if (!QFileInfo::exists(socket_)) return "the sound server did not start";
    const std::string address = ("unix:" + socket_).toStdString();
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, kRate, 1};
    pa_buffer_attr attr{};
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(kBlock * sizeof(float));
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(-1);
    int error = 0;
    // The socket may appear a moment before the server answers on it.
    for (int attempt = 0; attempt < 20 && !out_; ++attempt) {
      out_ = pa_simple_new(address.c_str(), "bench", PA_STREAM_PLAYBACK, "lighting", "sound", &spec, nullptr,
                           &attr, &error);
      if (!out_) std::this_thread::sleep_for(100ms);
    }
    if (!out_) return "no playback stream (error " + std::to_string(error) + ")";
    return {};
  }
  const QString& BusAddress() const { return bus_.Address(); }
  void StartCompanion() {
    companion_.setProcessEnvironment(env_);
    companion_.start(kCompanion, {});
    companion_.waitForStarted();
  }
  qint64 CompanionPid() const { return companion_.processId(); }
  // Blocks until the server has room: the block is then in its 10 ms buffer.
  void Write(std::span<const float> block) {
    int error = 0;
    pa_simple_write(out_, block.data(), block.size_bytes(), &error);
  }
  ~SoundRig() {
    if (out_) pa_simple_free(out_);
    for (QProcess* process : {&companion_, &server_}) {
      if (process->state() == QProcess::NotRunning) continue;
      ::kill(pid_t(process->processId()), SIGTERM);
      process->waitForFinished(3000);
    }
    bus_.Stop();
  }

 private:
  norvane::testing::TempFolder folder_;
  norvane::testing::PrivateBus bus_;
  QString socket_;
  QProcessEnvironment env_;
  QProcess server_;
  QProcess companion_;
  pa_simple* out_ = nullptr;
};

// 10 ms of a two-note chord at about a third of full scale, from sample `start` on.
std::vector<float> Chord(std::size_t start) {
  std::vector<float> block(kBlock);
  for (std::size_t i = 0; i < kBlock; ++i) {
    const double t = double(start + i) / kRate;
    block[i] =
        float(0.3 * (std::sin(2 * std::numbers::pi * 220 * t) + std::sin(2 * std::numbers::pi * 330 * t)));
  }
  return block;
}

void SpinEventsUntil(const std::atomic<bool>& done) {
  while (!done) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(5ms);
  }
}

void BM_AudioCompanion(benchmark::State& state) {
  EnsureApplication();
  double cpuPercent = 0;
  double delayMs = 0;
  double recordsPerSecond = 0;
  for (auto _ : state) {
    SoundRig rig;
    if (const std::string why = rig.Start(); !why.empty()) {
      state.SkipWithError(why.c_str());
      return;
    }
    std::atomic<bool> firstLoud{false};
    SteadyTime firstLoudAt{};
    std::mutex arrivalsLock;
    std::vector<SteadyTime> arrivals;
    WindowStandIn window(rig.BusAddress(), [&](std::span<const std::int32_t> levels) {
      const SteadyTime now = std::chrono::steady_clock::now();
      std::int32_t loudest = 0;
      for (std::int32_t level : levels) loudest = std::max(loudest, std::abs(level));
      if (loudest > 1000 && !firstLoud.load()) firstLoudAt = now, firstLoud = true;
      std::lock_guard lock(arrivalsLock);
      arrivals.push_back(now);
    });
    rig.StartCompanion();
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(500ms);

    // 1 s of silence, then 4 s of a chord.
    std::atomic<bool> done{false};
    SteadyTime soundAt{};
    std::thread player([&] {
      const std::vector<float> silence(kBlock);
      for (int b = 0; b < 100; ++b) rig.Write(silence);
      soundAt = std::chrono::steady_clock::now();
      for (std::size_t b = 0; b < 400; ++b) rig.Write(Chord(b * kBlock));
      done = true;
    });
    const double cpuBefore = ProcessCpuSeconds(rig.CompanionPid());
    const auto started = std::chrono::steady_clock::now();
    SpinEventsUntil(done);
    const auto ended = std::chrono::steady_clock::now();
    const double wall = std::chrono::duration<double>(ended - started).count();
    cpuPercent = 100.0 * (ProcessCpuSeconds(rig.CompanionPid()) - cpuBefore) / wall;
    player.join();
    // The rate while the chord plays, past its first half second.
    {
      std::lock_guard lock(arrivalsLock);
      const SteadyTime from = soundAt + 500ms;
      const auto counted = std::count_if(arrivals.begin(), arrivals.end(),
                                         [&](const SteadyTime& at) { return at >= from && at < ended; });
      recordsPerSecond = double(counted) / std::chrono::duration<double>(ended - from).count();
    }
    delayMs = firstLoud ? std::chrono::duration<double, std::milli>(firstLoudAt - soundAt).count() : -1;
  }
  state.counters["companion_cpu_percent"] = cpuPercent;
  state.counters["level_records_per_second"] = recordsPerSecond;
  state.counters["sound_to_record_ms"] = delayMs;
}
BENCHMARK(BM_AudioCompanion)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One streamed light frame (command 0x12) as the emulated keyboard took it: when, which part of the
// keyboard's picture it carries, and how bright it is (the sum of its colour bytes).
struct StreamedFrame {
  SteadyTime at;
  int offset = 0;
  int brightness = 0;
};

void BM_SoundToKeyboardFrame(benchmark::State& state) {
  EnsureApplication();
  constexpr int kBursts = 24;
  constexpr int kSilentBlocks = 60;  // 600 ms between bursts: the keys go dark again
  constexpr int kToneBlocks = 25;    // 250 ms of sound
  double averageMs = 0;
  double worstMs = 0;
  int measured = 0;
  int unmeasured = 0;
  double feedAverageMs = 0;
  for (auto _ : state) {
    auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector{emulator::DeviceModel::kKeyboard});
    const auto previousBackend = hid::SetActiveHidBackend(backend);
    std::mutex framesLock;
    std::vector<StreamedFrame> frames;
    backend->SetFrameListener([&](const emulator::LoggedFrame& frame) {
      if (frame.direction != emulator::FrameDirection::kToDevice || frame.bytes[3] != 0x12) return;
      const std::size_t length = std::min<std::size_t>(frame.bytes[4], 56);
      const int brightness =
          std::accumulate(frame.bytes.begin() + 8, frame.bytes.begin() + 8 + std::ptrdiff_t(length), 0);
      std::lock_guard lock(framesLock);
      frames.push_back({frame.at, frame.bytes[5] | frame.bytes[6] << 8, brightness});
    });
    {
      devices::CNorvaneKeyboardDevice keyboard;
      bench::SetUpKeyboard(keyboard);
      const bool opened = protocol::OpenCommandInterface(keyboard.CommandChannel(), bench::FirstCommandPath(),
                                                         protocol::LinkType::kWired) == hid::OpenError::kNone;
      SoundRig rig;
      const std::string why = rig.Start();
      if (!opened || keyboard.ReadDeviceKeys() != 1) {
        state.SkipWithError("no emulated keyboard");
      } else if (!why.empty()) {
        state.SkipWithError(why.c_str());
      } else {
        // Effect 29's vertical bars, white on black: a key lights only while there is sound.
        keyboard.SetLightParams({.mode = 29, .brightness = 4});
        keyboard.SetAudioLight({.mode = 0, .background = {0, 0, 0}, .foreground = {255, 255, 255}});
        keyboard.RefreshKeyButtons();
        keyboard.StartLightingThread();
        // The window's processing, on the bus thread here (the window's own thread in the program).
        app::AudioLevelProcessor processor;
        app::AudioLevelProcessor::Buffer buffer{};
        std::vector<SteadyTime> loudFeeds;  // when the keyboard was fed a sound
        WindowStandIn window(rig.BusAddress(), [&](std::span<const std::int32_t> levels) {
          const std::size_t count = std::min(levels.size(), buffer.size());
          std::copy_n(levels.begin(), count, buffer.begin());
          const app::AudioLevelProcessor::Feeds feeds = processor.Process(buffer, true, false);
          if (!feeds.keyboard) return;
          keyboard.FeedAudioLevels(std::span<const std::uint8_t>(
              reinterpret_cast<const std::uint8_t*>(feeds.keyboard->data()), feeds.keyboard->size() * 4));
          if (std::any_of(feeds.keyboard->begin(), feeds.keyboard->end(),
                          [](std::int32_t v) { return v > 0; })) {
            std::lock_guard lock(framesLock);
            loudFeeds.push_back(std::chrono::steady_clock::now());
          }
        });
        // The window's frame timer.
        std::jthread presenter([&](std::stop_token stop) {
          while (!stop.stop_requested()) {
            keyboard.PresentFrame();
            std::this_thread::sleep_for(10ms);
          }
        });
        rig.StartCompanion();
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(700ms);

        std::atomic<bool> done{false};
        std::vector<SteadyTime> soundAt;
        std::thread player([&] {
          const std::vector<float> silence(kBlock);
          for (int burst = 0; burst < kBursts; ++burst) {
            for (int b = 0; b < kSilentBlocks; ++b) rig.Write(silence);
            for (int b = 0; b < kToneBlocks; ++b) {
              rig.Write(Chord(std::size_t(b) * kBlock));
              if (b == 0) soundAt.push_back(std::chrono::steady_clock::now());
            }
          }
          for (int b = 0; b < kSilentBlocks; ++b) rig.Write(silence);
          done = true;
        });
        SpinEventsUntil(done);
        player.join();
        presenter.request_stop();
        presenter.join();
        keyboard.StopLightingThread();

        std::lock_guard lock(framesLock);
        double sum = 0;
        double feedSum = 0;
        int feedsMeasured = 0;
        worstMs = 0;
        measured = 0;
        unmeasured = 0;
        for (const SteadyTime& start : soundAt) {
          // What silence shows just before the burst, per part of the picture: the bars of the previous
          // burst fall slowly, so keys may still glow, but only ever dimmer. The sound lights keys at full
          // brightness again.
          std::map<int, int> silent;
          for (const StreamedFrame& f : frames) {
            if (f.at < start) silent[f.offset] = f.brightness;
          }
          const auto first = std::find_if(frames.begin(), frames.end(), [&](const StreamedFrame& f) {
            return f.at >= start && f.at < start + 500ms && silent.count(f.offset) &&
                   f.brightness > silent[f.offset];
          });
          if (first == frames.end()) {
            ++unmeasured;
            continue;
          }
          const double ms = std::chrono::duration<double, std::milli>(first->at - start).count();
          const auto fed = std::find_if(loudFeeds.begin(), loudFeeds.end(),
                                        [&](const SteadyTime& at) { return at >= start; });
          if (fed != loudFeeds.end() && *fed <= first->at) {
            feedSum += std::chrono::duration<double, std::milli>(*fed - start).count();
            ++feedsMeasured;
          }
          sum += ms;
          worstMs = std::max(worstMs, ms);
          ++measured;
        }
        averageMs = measured ? sum / measured : -1;
        feedAverageMs = feedsMeasured ? feedSum / feedsMeasured : -1;
      }
    }
    backend->SetFrameListener({});
    hid::SetActiveHidBackend(previousBackend);
  }
  state.counters["bursts_measured"] = measured;
  state.counters["bursts_not_seen"] = unmeasured;
  state.counters["sound_to_frame_avg_ms"] = averageMs;
  state.counters["sound_to_frame_worst_ms"] = worstMs;
  // Of the average: the part until the window fed the keyboard (capture, the bus, every third record).
  state.counters["sound_to_keyboard_feed_avg_ms"] = feedAverageMs;
}
BENCHMARK(BM_SoundToKeyboardFrame)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
