#pragma once
// The level below HidDevice: what a source of HID nodes must offer. A node is one USB HID interface
// (one /dev/hidrawN), whatever number of top-level collections its report descriptor declares. Two
// implementations: hidraw (libudev and /dev/hidraw*) and the in-process emulator of our devices.
//
// Everything above this interface (descriptor parsing, one path per top-level collection, routing of input
// reports by report id, time limits, cancel) is common code in hid/, so both backends behave alike.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace norvane::hid {

// One HID node as enumeration sees it.
struct HidNodeInfo {
  std::string node_id;       // backend-unique name of the node, e.g. "/dev/hidraw3"
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;      // bcdDevice of the USB device
  int interface_number = 0;  // bInterfaceNumber of the USB interface
  bool composite = false;    // the USB device has two or more interfaces (bNumInterfaces > 1)
  // Where the device sits on the USB tree plus its identity, e.g. "1-2.3:1.1". Stable across reboots for
  // the same port; lets a path reopen only the same physical device after hidraw numbers were reused.
  std::string usb_location;
  std::vector<uint8_t> report_descriptor;  // raw, as the device sent it
};

enum class OpenError {
  kNone,
  kNotFound,          // no such node (any more)
  kPermissionDenied,  // the node exists but this user may not open it (udev rule not installed)
  kIdentityMismatch,  // the node now belongs to another device
  kIoError,
};

enum class ReadStatus {
  kReport,   // a report was read
  kTimeout,  // nothing arrived within the time limit
  kWoken,    // Wake() was called
  kGone,     // the node went away or failed; no further report will come
};

// One open node: one file descriptor shared by every handle opened on any of its collections.
class HidNodeConnection {
 public:
  virtual ~HidNodeConnection() = default;

  // Sends one output report through the interrupt pipe; byte 0 is the report id (0 when the descriptor
  // declares none). May block for as long as the device takes: callers run it on the node's I/O thread.
  virtual bool WriteOutput(std::span<const uint8_t> report) = 0;

  // Sends one output report through the control pipe (HIDIOCSOUTPUT on hidraw).
  virtual bool WriteOutputControl(std::span<const uint8_t> report) = 0;

  // Feature reports. For GetFeature, byte 0 of `report` holds the report id on entry; the result is the
  // number of bytes filled, or nullopt on failure.
  virtual bool SetFeature(std::span<const uint8_t> report) = 0;
  virtual std::optional<size_t> GetFeature(std::span<uint8_t> report) = 0;

  // Waits up to `timeout` for the next input report of the node (any collection; byte 0 is the report id
  // when the descriptor uses ids). Only one thread reads a connection.
  virtual ReadStatus ReadInput(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) = 0;

  // Makes a ReadInput that waits now, or the next one, return kWoken promptly. Callable from any thread.
  virtual void Wake() = 0;
};

// Removes its hotplug listener when destroyed.
class HotplugSubscription {
 public:
  virtual ~HotplugSubscription() = default;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // Every node present now, ordered by node number. A node whose details cannot be read is skipped.
  // nullopt only when enumeration itself failed.
  virtual std::optional<std::vector<HidNodeInfo>> Enumerate() = 0;

  // Opens a node for reading and writing. When `expected` is given, the node must still belong to that
  // device (same vendor, product and USB location), else kIdentityMismatch.
  virtual std::unique_ptr<HidNodeConnection> Open(const std::string& node_id, const HidNodeInfo* expected,
                                                  OpenError& error) = 0;

  // Calls `on_change` (from any thread) after nodes arrived or went away, until the subscription is
  // destroyed.
  virtual std::unique_ptr<HotplugSubscription> WatchHotplug(std::function<void()> on_change) = 0;
};

// The backend every HidDevice uses. The hidraw backend unless another was installed (the emulator for
// tests and the demo mode). Installing is meant for start-up, before any HidDevice is opened.
HidBackend& ActiveHidBackend();
std::shared_ptr<HidBackend> SetActiveHidBackend(std::shared_ptr<HidBackend> backend);

}  // namespace norvane::hid
