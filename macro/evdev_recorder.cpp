#include "macro/evdev_recorder.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/trace.h"

namespace norvane::macro {

namespace {

constexpr int kReleased = 0;
constexpr int kPressed = 1;

bool IsMouseButton(int code) {
  return code >= BTN_LEFT && code <= BTN_BACK;
}

// Keys are the codes below the buttons' ranges and those above them (KEY_OK and on).
bool IsKey(int code) {
  return (code > KEY_RESERVED && code < BTN_MISC) || (code >= KEY_OK && code < BTN_DPAD_UP) ||
         (code >= KEY_ALS_TOGGLE && code < BTN_TRIGGER_HAPPY);
}

std::uint32_t Milliseconds(const timeval& time) {
  return static_cast<std::uint32_t>(std::uint64_t(time.tv_sec) * 1000u + std::uint64_t(time.tv_usec) / 1000u);
}

}  // namespace

std::optional<CapturedInput> TranslateEvdevEvent(const input_event& event) {
  if (event.type != EV_KEY) return std::nullopt;
  // 2 is the keyboard repeating a held key: the press was taken already.
  if (event.value != kReleased && event.value != kPressed) return std::nullopt;
  CapturedInput input;
  if (IsMouseButton(event.code)) {
    input.kind = CapturedInput::Kind::kButton;
  } else if (IsKey(event.code)) {
    input.kind = CapturedInput::Kind::kKey;
  } else {
    return std::nullopt;
  }
  input.code = event.code;
  input.pressed = event.value == kPressed;
  input.time = Milliseconds(event.time);
  return input;
}

EvdevRecorder::EvdevRecorder(std::vector<std::string> devices) : nodes_(std::move(devices)) {}

EvdevRecorder::~EvdevRecorder() {
  Stop();
}

std::uint32_t EvdevRecorder::Now() const {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1000000u);
}

std::vector<std::string> EvdevRecorder::ListInputDevices() {
  std::vector<std::string> nodes;
  std::unique_ptr<udev, decltype(&udev_unref)> context(udev_new(), &udev_unref);
  if (!context) return nodes;
  std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)> list(udev_enumerate_new(context.get()),
                                                                          &udev_enumerate_unref);
  if (!list) return nodes;
  udev_enumerate_add_match_subsystem(list.get(), "input");
  udev_enumerate_scan_devices(list.get());
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(list.get())) {
    std::unique_ptr<udev_device, decltype(&udev_device_unref)> device(
        udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)), &udev_device_unref);
    if (!device) continue;
    const char* node = udev_device_get_devnode(device.get());
    if (!node || std::strncmp(node, "/dev/input/event", 16) != 0) continue;
    const char* keyboard = udev_device_get_property_value(device.get(), "ID_INPUT_KEYBOARD");
    const char* mouse = udev_device_get_property_value(device.get(), "ID_INPUT_MOUSE");
    if ((keyboard && std::strcmp(keyboard, "1") == 0) || (mouse && std::strcmp(mouse, "1") == 0)) nodes.emplace_back(node);
  }
  return nodes;
}

bool EvdevRecorder::Start(Sink sink, LostSink lost, std::string& why) {
  Stop();
  const std::vector<std::string> nodes = nodes_.empty() ? ListInputDevices() : nodes_;
  int refused = 0;
  for (const std::string& node : nodes) {
    const int fd = open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      if (errno == EACCES || errno == EPERM) ++refused;
      continue;
    }
    libevdev* dev = nullptr;
    if (libevdev_new_from_fd(fd, &dev) < 0) {
      close(fd);
      continue;
    }
    // Times on the monotonic clock, as Now() reads it (the default is the wall clock, which jumps).
    if (libevdev_set_clock_id(dev, CLOCK_MONOTONIC) < 0) Trace("recording: " + node + " keeps the wall clock");
    devices_.push_back({fd, dev});
  }
  if (devices_.empty()) {
    why = refused > 0 ? "the input devices cannot be read (they belong to root and the input group)"
                      : "no keyboard or mouse input device was found";
    return false;
  }
  if (!thread_.Start(std::move(sink), std::move(lost), [this] { Run(); }, why)) {
    CloseAll();
    return false;
  }
  return true;
}

void EvdevRecorder::Run() {
  std::vector<pollfd> fds;
  for (const Device& device : devices_) fds.push_back({device.fd, POLLIN, 0});
  fds.push_back({thread_.WakeDescriptor(), POLLIN, 0});
  std::size_t open = devices_.size();
  while (!thread_.Stopping() && open > 0) {
    if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
    if (fds.back().revents & POLLIN) thread_.TakeWakeUp();
    for (std::size_t i = 0; i < devices_.size(); ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLERR | POLLHUP))) continue;
      input_event event{};
      int status = libevdev_next_event(devices_[i].dev, LIBEVDEV_READ_FLAG_NORMAL, &event);
      while (status == LIBEVDEV_READ_STATUS_SUCCESS || status == LIBEVDEV_READ_STATUS_SYNC) {
        if (status == LIBEVDEV_READ_STATUS_SYNC) {
          // The kernel dropped events: catch up with the device's state, taking no input from it.
          while (status == LIBEVDEV_READ_STATUS_SYNC)
            status = libevdev_next_event(devices_[i].dev, LIBEVDEV_READ_FLAG_SYNC, &event);
        } else if (const std::optional<CapturedInput> input = TranslateEvdevEvent(event)) {
          thread_.Emit(*input);
        }
        status = libevdev_next_event(devices_[i].dev, LIBEVDEV_READ_FLAG_NORMAL, &event);
      }
      if (status != -EAGAIN) {
        // Unplugged: the others go on.
        fds[i].fd = -1;
        --open;
      }
    }
  }
  if (open == 0) thread_.ReportLost("every input device went away");
}

void EvdevRecorder::Stop() {
  thread_.Stop();
  CloseAll();
}

void EvdevRecorder::CloseAll() {
  for (Device& device : devices_) {
    libevdev_free(device.dev);
    close(device.fd);
  }
  devices_.clear();
}

}  // namespace norvane::macro
