#include "hid/hidraw_connection.h"

#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "hid/report_descriptor.h"

namespace norvane::hid {

namespace {

// The ioctls take a writable buffer even for sending.
bool SendIoctl(int fd, unsigned long request, std::span<const uint8_t> report) {
  std::vector<uint8_t> copy(report.begin(), report.end());
  int result;
  do {
    result = ::ioctl(fd, request, copy.data());
  } while (result < 0 && errno == EINTR);
  return result >= 0;
}

}  // namespace

std::unique_ptr<HidrawConnection> HidrawConnection::Create(UniqueFd node) {
  UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake.valid() || !node.valid()) return nullptr;
  return std::unique_ptr<HidrawConnection>(new HidrawConnection(std::move(node), std::move(wake)));
}

bool HidrawConnection::WriteOutput(std::span<const uint8_t> report) {
  if (report.empty()) return false;
  ssize_t written;
  do {
    written = ::write(node_.get(), report.data(), report.size());
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(report.size());
}

bool HidrawConnection::WriteOutputControl(std::span<const uint8_t> report) {
#ifdef HIDIOCSOUTPUT
  if (report.empty()) return false;
  return SendIoctl(node_.get(), HIDIOCSOUTPUT(report.size()), report);
#else
  (void)report;
  return false;  // kernel headers older than 5.11
#endif
}

bool HidrawConnection::SetFeature(std::span<const uint8_t> report) {
  if (report.empty()) return false;
  return SendIoctl(node_.get(), HIDIOCSFEATURE(report.size()), report);
}

std::optional<size_t> HidrawConnection::GetFeature(std::span<uint8_t> report) {
  if (report.empty()) return std::nullopt;
  int result;
  do {
    result = ::ioctl(node_.get(), HIDIOCGFEATURE(report.size()), report.data());
  } while (result < 0 && errno == EINTR);
  if (result < 0) return std::nullopt;
  return std::min<size_t>(static_cast<size_t>(result), report.size());
}

ReadStatus HidrawConnection::ReadInput(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) {
  std::array<pollfd, 2> fds{{{node_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}}};
  const auto wait_ms = static_cast<int>(std::clamp<int64_t>(timeout.count(), 0, 1'000'000));
  const int ready = ::poll(fds.data(), fds.size(), wait_ms);
  if (ready < 0) return errno == EINTR ? ReadStatus::kTimeout : ReadStatus::kGone;
  if (ready == 0) return ReadStatus::kTimeout;
  if ((fds[1].revents & POLLIN) != 0) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t drained = ::read(wake_.get(), &count, sizeof count);
    return ReadStatus::kWoken;
  }
  if ((fds[0].revents & POLLIN) != 0) {
    report.resize(kMaxReportBytes + 1);
    const ssize_t length = ::read(node_.get(), report.data(), report.size());
    if (length > 0) {
      report.resize(static_cast<size_t>(length));
      return ReadStatus::kReport;
    }
    report.clear();
    if (length < 0 && (errno == EINTR || errno == EAGAIN)) return ReadStatus::kTimeout;
    return ReadStatus::kGone;
  }
  // POLLHUP, POLLERR or POLLNVAL without data: the device was unplugged.
  return ReadStatus::kGone;
}

void HidrawConnection::Wake() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
}

}  // namespace norvane::hid
