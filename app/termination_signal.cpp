#include "app/termination_signal.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>

namespace norvane::app {
namespace {

// The write end for the signal handler; a signal handler can reach nothing else safely.
int g_signalWriteFd = -1;
int g_signalReadFd = -1;

extern "C" void OnTerminationSignal(int) {
  const char byte = 1;
  if (g_signalWriteFd >= 0) [[maybe_unused]]
    const ssize_t written = ::write(g_signalWriteFd, &byte, 1);
}

}  // namespace

CTerminationSignal::CTerminationSignal(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  std::array<int, 2> fds{-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds.data()) != 0) return;
  g_signalWriteFd = fds[0];
  g_signalReadFd = fds[1];
  notifier_ = std::make_unique<QSocketNotifier>(g_signalReadFd, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char buffer[16];
    while (::read(g_signalReadFd, buffer, sizeof buffer) > 0) {
    }
    if (onSignal_) onSignal_();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

CTerminationSignal::~CTerminationSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
  notifier_.reset();
  if (g_signalWriteFd >= 0) ::close(g_signalWriteFd);
  if (g_signalReadFd >= 0) ::close(g_signalReadFd);
  g_signalWriteFd = g_signalReadFd = -1;
}

}  // namespace norvane::app
