// norvane-audio: the audio capture companion of the music lighting. It captures what the desktop plays and
// sends the window the level and band records of its music modes (see capture_analyser.h). The window
// starts it when a music effect is chosen and ends it with the effect or at exit; it can run by hand too.
//
//   norvane-audio [--verbose]
//
// Exit status: 0 ended normally (also when another copy runs already), 1 no session bus, 2 a wrong command
// line. Without a sound server it says so once and waits for one, quietly.

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "audio/capture_analyser.h"
#include "audio/companion_bus.h"
#include "audio/pulse_capture.h"
#include "audio/record_sender.h"

namespace {

using namespace norvane::audio;

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

constexpr int kRetryMs = 5000;
const QString kServiceName = QStringLiteral("org.norvane.AudioRecord");

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--verbose") {
      verbose = true;
    } else if (argument == "--help") {
      std::puts("usage: norvane-audio [--verbose]");
      return 0;
    } else {
      std::fprintf(stderr, "norvane-audio: unknown option \"%s\"\nusage: norvane-audio [--verbose]\n", argv[i]);
      return 2;
    }
  }
  auto trace = [verbose](const QString& text) {
    if (verbose) std::fprintf(stderr, "norvane-audio: %s\n", text.toLocal8Bit().constData());
  };

  // A logout or Ctrl+C ends it in order.
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) == 0) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::signal(signal, OnSignal);
  }
  QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "norvane-audio: no D-Bus session bus; nothing to send the music to\n");
    return 1;
  }
  CompanionBus companion(bus, [] { QCoreApplication::quit(); }, trace);
  if (!companion.Register(kServiceName)) {
    std::fprintf(stderr, "norvane-audio: another capture companion runs already\n");
    return 0;
  }

  // The analysis runs on the sound library's thread, and the records go out from there on a connection of
  // their own: a detour through another thread would wake it about 130 times a second for nothing.
  RecordSender records;
  if (std::string why; !records.Connect({}, why)) {
    std::fprintf(stderr, "norvane-audio: no D-Bus session bus (%s); nothing to send the music to\n",
                 why.c_str());
    return 1;
  }
  CaptureAnalyser analyser(
      [&records](const LevelMessage& levels) { records.Send(RecordSender::kLevelsRecord, levels); },
      [&records](const BandMessage& bands) { records.Send(RecordSender::kBandsRecord, bands); });
  PulseCapture capture([&analyser](std::span<const float> mono) { analyser.Feed(mono); });

  bool toldNoServer = false;
  auto start = [&] {
    if (capture.IsCapturing()) return;
    std::string why;
    if (capture.Start(why)) {
      trace(QStringLiteral("capturing the default output"));
      toldNoServer = false;
    } else if (!toldNoServer) {
      // Once: the music modes stay dark until a sound server answers.
      std::fprintf(stderr, "norvane-audio: no sound server (%s); waiting for one\n", why.c_str());
      toldNoServer = true;
    }
  };
  QTimer retry;
  QObject::connect(&retry, &QTimer::timeout, &app, start);
  retry.start(kRetryMs);
  start();

  const int code = app.exec();
  capture.Stop();
  return code;
}
