// The companion against a private sound server, as CI runs it: PulseAudio in the foreground with only its
// native protocol (anonymous), a null sink as the default output and a private runtime folder; a tone played
// into the sink; the companion's records reach a stand-in for the window on a private bus: about 96 level
// messages a second that follow the tone, and band messages. Without a server it says so once and waits.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <chrono>
#include <cmath>
#include <fstream>
#include <numbers>

#include "audio/capture_analyser.h"
#include "tests/audio/window_stand_in.h"
#include "tests/support/private_bus.h"
#include "tests/support/temp_folder.h"

namespace norvane::audio {
namespace {

const QString kCompanion = QStringLiteral(NORVANE_BINARY_DIR "/bin/norvane-audio");

void WriteTone(const std::filesystem::path& path, double hertz, double seconds) {
  const auto frames = std::uint32_t(seconds * kSampleRate);
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4);
  u32(36 + frames * 2);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(kSampleRate);
  u32(kSampleRate * 2);
  u16(2);
  u16(16);
  out.write("data", 4);
  u32(frames * 2);
  for (std::uint32_t i = 0; i < frames; ++i)
    u16(std::uint16_t(std::int16_t(16000 * std::sin(2 * std::numbers::pi * hertz * i / kSampleRate))));
}

class PulseCompanionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureCoreApplication(); }
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("paplay")).isEmpty())
      GTEST_SKIP() << "pulseaudio and paplay are not installed";
    if (!QFileInfo::exists(kCompanion)) GTEST_SKIP() << "the companion was not built";
    if (!bus_.Start()) GTEST_SKIP() << "no D-Bus daemon";
    runtime_ = folder_.path() / "pulse";
    std::filesystem::create_directories(runtime_);
    std::filesystem::permissions(runtime_, std::filesystem::perms::owner_all);
    socket_ = QString::fromStdString((runtime_ / "native").string());
  }
  void TearDown() override {
    for (QProcess* process : {&companion_, &server_}) {
      if (process->state() == QProcess::NotRunning) continue;
      ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
      if (!process->waitForFinished(3000)) process->kill();
    }
  }
  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString runtime = QString::fromStdString(runtime_.string());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime);
    env.insert(QStringLiteral("PULSE_STATE_PATH"), runtime);
    env.insert(QStringLiteral("HOME"), QString::fromStdString(folder_.path().string()));
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket_);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_.Address());
    return env;
  }
  bool StartServer() {
    server_.setProcessEnvironment(Environment());
    // Its log is not read: a full pipe would stall the server.
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                   QStringLiteral("--disable-shm=yes"), QStringLiteral("--use-pid-file=no"),
                   QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket_,
                   QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=lighting rate=48000")});
    return QTest::qWaitFor([&] { return QFileInfo::exists(socket_); }, 10000);
  }
  void StartCompanion() {
    companion_.setProcessEnvironment(Environment());
    companion_.start(kCompanion, {QStringLiteral("--verbose")});
    ASSERT_TRUE(companion_.waitForStarted(5000));
  }
  norvane::testing::TempFolder folder_;
  norvane::testing::PrivateBus bus_;
  std::filesystem::path runtime_;
  QString socket_;
  QProcess server_;
  QProcess companion_;
};

TEST_F(PulseCompanionTest, ATonePlayedOnTheDefaultOutputReachesTheWindowAsLevelsAndBands) {
  ASSERT_TRUE(StartServer());
  WindowStandIn window(bus_.Address());
  ASSERT_TRUE(window.registered_);
  StartCompanion();
  // The monitor delivers (silence, at first) once the companion is connected.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Records().empty(); }, 10000))
      << companion_.readAllStandardError().toStdString();
  const std::filesystem::path wav = folder_.path() / "tone.wav";
  WriteTone(wav, 440, 2.0);

  // While the tone plays (in the background of this test's own loop).
  QProcess play;
  play.setProcessEnvironment(Environment());
  play.start(QStringLiteral("paplay"), {QStringLiteral("--device=lighting"), QString::fromStdString(wav.string())});
  ASSERT_TRUE(play.waitForStarted(5000));
  QTest::qWait(700);
  window.Clear();
  QTest::qWait(1000);
  const auto records = window.Records();
  ASSERT_TRUE(QTest::qWaitFor([&] { return play.state() == QProcess::NotRunning; }, 10000));

  int levels = 0;
  int bands = 0;
  double change = 0;
  QByteArray previous;
  for (const auto& [kind, data, at] : records) {
    if (kind == 2) {
      ++bands;
      EXPECT_EQ(data.size(), 24);
      continue;
    }
    ASSERT_EQ(kind, 1);
    ASSERT_EQ(data.size(), 2000) << "500 values";
    ++levels;
    if (!previous.isEmpty()) {
      const auto* a = reinterpret_cast<const std::int32_t*>(previous.constData());
      const auto* b = reinterpret_cast<const std::int32_t*>(data.constData());
      for (int i = 0; i < 500; ++i) change += std::abs(double(b[i]) - double(a[i]));
    }
    previous = data;
  }
  EXPECT_GE(levels, 85) << "about 96 a second; the companion said: "
                        << companion_.readAllStandardError().toStdString();
  EXPECT_GE(bands, 25) << "about 32 a second";
  EXPECT_EQ(window.AskedForReply(), 0) << "records are sent without waiting for the window";
  ASSERT_GT(levels, 1);
  change /= 500.0 * (levels - 1);
  // A half-scale tone: its values change by hundreds to thousands between messages.
  EXPECT_GT(change, 300) << companion_.readAllStandardError().toStdString();
}

TEST_F(PulseCompanionTest, WithoutASoundServerItSaysSoOnceAndWaits) {
  WindowStandIn window(bus_.Address());
  StartCompanion();
  QTest::qWait(1500);
  EXPECT_EQ(companion_.state(), QProcess::Running) << "no error loop, no exit";
  const QString said = QString::fromUtf8(companion_.readAllStandardError());
  EXPECT_EQ(said.count(QStringLiteral("no sound server")), 1) << said.toStdString();
  EXPECT_TRUE(window.Records().empty());
}

}  // namespace
}  // namespace norvane::audio
