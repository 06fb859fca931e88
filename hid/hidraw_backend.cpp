#include "hid/hidraw_backend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>

#include "hid/hidraw_connection.h"
#include "hid/hidraw_node_info.h"
#include "hid/hotplug_listeners.h"
#include "hid/udev_ptr.h"
#include "platform/trace.h"

namespace norvane::hid {

namespace {

OpenError OpenErrorFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return OpenError::kPermissionDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return OpenError::kNotFound;
    default:
      return OpenError::kIoError;
  }
}

// Watches udev for hidraw arrivals and removals on its own thread, as long as the backend lives.
class UdevHotplugMonitor {
 public:
  explicit UdevHotplugMonitor(std::shared_ptr<HotplugListeners> listeners)
      : listeners_(std::move(listeners)) {
    stop_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!stop_.valid()) {
      Trace("hid: no hotplug watch: eventfd failed");
      return;
    }
    thread_ = std::thread([this] { Run(); });
  }
  ~UdevHotplugMonitor() {
    if (!thread_.joinable()) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stop_.get(), &one, sizeof one);
    thread_.join();
  }
  UdevHotplugMonitor(const UdevHotplugMonitor&) = delete;
  UdevHotplugMonitor& operator=(const UdevHotplugMonitor&) = delete;

 private:
  void Run() {
    UdevPtr context(udev_new());
    UdevMonitorPtr monitor(context ? udev_monitor_new_from_netlink(context.get(), "udev") : nullptr);
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
      Trace("hid: no hotplug watch: the udev monitor could not be set up");
      return;
    }
    std::array<pollfd, 2> fds{{{udev_monitor_get_fd(monitor.get()), POLLIN, 0}, {stop_.get(), POLLIN, 0}}};
    for (;;) {
      const int ready = ::poll(fds.data(), fds.size(), -1);
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0 || (fds[1].revents & POLLIN) != 0) return;
      if ((fds[0].revents & POLLIN) == 0) continue;
      UdevDevicePtr device(udev_monitor_receive_device(monitor.get()));
      if (device) listeners_->NotifyAll();
    }
  }

  std::shared_ptr<HotplugListeners> listeners_;
  UniqueFd stop_;
  std::thread thread_;
};

class HidrawBackend final : public HidBackend {
 public:
  ~HidrawBackend() override = default;

  std::optional<std::vector<HidNodeInfo>> Enumerate() override {
    UdevPtr context(udev_new());
    if (!context) return std::nullopt;
    UdevEnumeratePtr enumerate(udev_enumerate_new(context.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
      return std::nullopt;
    }
    std::vector<HidNodeInfo> nodes;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
      const char* syspath = udev_list_entry_get_name(entry);
      UdevDevicePtr device(syspath ? udev_device_new_from_syspath(context.get(), syspath) : nullptr);
      if (!device) continue;
      // A node that vanished meanwhile or whose details cannot be read is skipped, not fatal.
      if (auto info = ReadHidrawNodeInfo(device.get())) nodes.push_back(std::move(*info));
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const HidNodeInfo& a, const HidNodeInfo& b) {
      return HidrawNodeNumber(a.node_id) < HidrawNodeNumber(b.node_id);
    });
    return nodes;
  }

  std::unique_ptr<HidNodeConnection> Open(const std::string& node_id, const HidNodeInfo* expected,
                                          OpenError& error) override {
    error = OpenError::kNone;
    if (!IsHidrawNodeName(node_id)) {
      error = OpenError::kNotFound;
      return nullptr;
    }
    UniqueFd fd(::open(node_id.c_str(), O_RDWR | O_CLOEXEC));
    if (!fd.valid()) {
      error = OpenErrorFromErrno(errno);
      return nullptr;
    }
    if (expected != nullptr && !StillSameDevice(fd.get(), *expected)) {
      error = OpenError::kIdentityMismatch;
      return nullptr;
    }
    auto connection = HidrawConnection::Create(std::move(fd));
    if (!connection) error = OpenError::kIoError;
    return connection;
  }

  std::unique_ptr<HotplugSubscription> WatchHotplug(std::function<void()> on_change) override {
    auto subscription = listeners_->Add(std::move(on_change));
    std::lock_guard lock(monitor_mutex_);
    if (!monitor_) monitor_ = std::make_unique<UdevHotplugMonitor>(listeners_);
    return subscription;
  }

 private:
  // Checked on the open file itself, so a node number reused after a replug cannot slip in between.
  static bool StillSameDevice(int fd, const HidNodeInfo& expected) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
    UdevPtr context(udev_new());
    UdevDevicePtr device(context ? udev_device_new_from_devnum(context.get(), 'c', status.st_rdev) : nullptr);
    if (!device) return false;
    const auto info = ReadHidrawNodeInfo(device.get());
    return info && info->vendor_id == expected.vendor_id && info->product_id == expected.product_id &&
           info->usb_location == expected.usb_location;
  }

  std::shared_ptr<HotplugListeners> listeners_ = std::make_shared<HotplugListeners>();
  std::mutex monitor_mutex_;
  std::unique_ptr<UdevHotplugMonitor> monitor_;  // started with the first listener
};

}  // namespace

std::shared_ptr<HidBackend> MakeHidrawBackend() {
  return std::make_shared<HidrawBackend>();
}

}  // namespace norvane::hid
