#pragma once
// DeviceScanner: the scan thread of the device catalogue, free of any UI. It keeps the interface list (a
// copy of the InterfaceTable), claims an entry when a matching interface appears and releases it when the
// interface can no longer be opened or the node its users hold went away, and tells a listener about each
// change.
//
// Passes run when the HID backend reports a hotplug change (so arrivals and removals are seen at once),
// and again 20 ms later to catch what was still settling (a node whose end its reader had not seen yet); a
// pass that could not finish (enumeration failed, a candidate could not be opened) is retried every 100 ms.
// A node that goes away wakes the scanner too, since no notification tells of a device that was unplugged
// and plugged back while nobody listened.
// An idle scanner does no work at all; without hotplug notifications it falls back to a pass every 100 ms.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/interface_table.h"

namespace norvane::hid::catalogue {

// Receives the scanner's findings on the scan thread. Found and lost are synchronous: the scanner waits
// for them before it goes on, so the UI thread can read the entry it was told about. An implementation
// that forwards them to a UI thread (CallAndWait does) returns false once `stop` is requested.
class ScanListener {
 public:
  virtual ~ScanListener() = default;
  virtual bool InterfaceFound(std::size_t index, std::stop_token stop) = 0;
  virtual bool InterfaceLost(std::size_t index, std::stop_token stop) = 0;
  // Once, after the first pass (also when that pass could not enumerate). Must not block.
  virtual void FirstPassDone() = 0;
};

class DeviceScanner {
 public:
  struct Options {
    std::chrono::milliseconds pass_interval{100};
    // After a hotplug change: the wait before the second, settling pass.
    std::chrono::milliseconds settle_interval{20};
    std::chrono::milliseconds stop_wait{1000};
  };

  explicit DeviceScanner(ScanListener& listener);
  DeviceScanner(ScanListener& listener, Options options);
  ~DeviceScanner();  // stops the thread
  DeviceScanner(const DeviceScanner&) = delete;
  DeviceScanner& operator=(const DeviceScanner&) = delete;

  void Start();
  // Stops the thread: a listener call in progress is told to give up. Safe to call twice.
  void Stop();
  bool IsRunning() const { return thread_.joinable(); }

  // Copies of the interface list, safe from any thread.
  std::vector<InterfaceEntry> Entries() const;
  std::optional<InterfaceEntry> Entry(std::size_t index) const;

  // Enumeration passes run so far (for tests and benchmarks).
  std::size_t EnumerationCount() const { return enumerations_.load(); }

 private:
  enum class PassOutcome { kDone, kRetry, kStopped };

  void Run(std::stop_token stop);
  PassOutcome RunPass(std::stop_token stop);
  PassOutcome Enumerate(std::stop_token stop);
  PassOutcome ProbeRemovals(std::stop_token stop);
  bool HasFreeEntry() const;
  // Claims the first free entry matching the probe; its index, or nullopt.
  std::optional<std::size_t> Claim(const InterfaceProbe& probe, const std::string& path);
  bool IsCandidate(const std::string& path) const;
  void Wake();

  ScanListener& listener_;
  Options options_;

  mutable std::mutex list_mutex_;
  std::vector<InterfaceEntry> entries_;

  std::mutex wake_mutex_;
  std::condition_variable_any wake_;
  bool changed_ = false;

  std::atomic<std::size_t> enumerations_{0};
  std::unique_ptr<HotplugSubscription> hotplug_;
  // A node whose device went away is looked at again at once, hotplug notification or not.
  std::unique_ptr<HotplugSubscription> node_loss_;
  std::jthread thread_;
};

}  // namespace norvane::hid::catalogue
