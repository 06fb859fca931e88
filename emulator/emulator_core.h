#pragma once
// The state behind an EmulatorBackend: the devices, their nodes while plugged in, the open connections, the
// frame log and the hotplug listeners. One mutex guards all of it; connections and subscriptions keep the
// core alive, so they may outlive the backend object.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "emulator/device_memory.h"
#include "emulator/emulator.h"
#include "emulator/fault_plan.h"
#include "emulator/frame_log.h"
#include "emulator/memory_file.h"
#include "emulator/memory_file_writer.h"
#include "emulator/usb_identity.h"
#include "hid/hid_backend.h"

namespace norvane::emulator {

using SteadyTime = std::chrono::steady_clock::time_point;

// An input report on its way from a device to the host.
struct PendingReport {
  std::vector<uint8_t> bytes;
  SteadyTime due;
  uint64_t sequence = 0;       // keeps reports that are due together in the order they were sent
  bool late = false;           // held back by a late-reply fault
  bool command_reply = false;  // goes into the frame log when delivered
};

struct ConnectionState;

// One hidraw node of one plugging of a device. A replug makes new nodes, so connections opened before it
// stay gone even when the node number is reused.
struct NodeState {
  hid::HidNodeInfo info;
  DeviceId device = 0;
  int number = 0;
  bool carries_commands = false;
  bool present = true;
  std::vector<PendingReport> outbox;
  std::vector<ConnectionState*> readers;  // not owned; each connection removes itself when it closes
};

// One open connection: its own input queue, as each open file of a hidraw node has its own ring.
struct ConnectionState {
  static constexpr size_t kQueueCapacity = 64;  // like the kernel: new reports are dropped when full

  explicit ConnectionState(std::shared_ptr<NodeState> opened) : node(std::move(opened)) {}

  std::shared_ptr<NodeState> node;
  std::deque<std::vector<uint8_t>> queue;
  bool woken = false;
  std::condition_variable changed;
};

struct EmulatedDevice {
  DeviceModel model = DeviceModel::kKeyboard;
  const UsbIdentity* identity = nullptr;
  std::shared_ptr<DeviceMemory> memory;
  int port = 0;  // USB port, so the USB location stays the same across replugs
  bool plugged = false;
  bool link_up = true;
  std::chrono::milliseconds latency{0};
  FaultPlan faults;
  std::vector<std::shared_ptr<NodeState>> nodes;  // while plugged, in interface order
  std::deque<std::vector<uint8_t>> output_reports;  // taken output reports other than command frames
};

class EmulatorCore : public std::enable_shared_from_this<EmulatorCore> {
 public:
  explicit EmulatorCore(std::span<const DeviceModel> models);

  // Backend.
  std::vector<hid::HidNodeInfo> Enumerate();
  std::unique_ptr<hid::HidNodeConnection> Open(const std::string& node_id, const hid::HidNodeInfo* expected,
                                               hid::OpenError& error);
  std::unique_ptr<hid::HotplugSubscription> WatchHotplug(std::function<void()> on_change);

  // Connections.
  void Attach(ConnectionState& connection);
  void Detach(ConnectionState& connection);
  bool Write(ConnectionState& connection, std::span<const uint8_t> report);
  hid::ReadStatus Read(ConnectionState& connection, std::vector<uint8_t>& report,
                       std::chrono::milliseconds timeout);
  void Wake(ConnectionState& connection);

  // Control.
  size_t DeviceCount() const;
  DeviceModel ModelOf(DeviceId device) const;
  std::optional<DeviceId> FindDevice(DeviceModel model, int nth) const;
  std::optional<std::string> NodeId(DeviceId device, int interface_number) const;
  std::optional<std::string> CommandNodeId(DeviceId device) const;
  void Unplug(DeviceId device);
  void Plug(DeviceId device, NodeNumbering numbering);
  bool IsPlugged(DeviceId device) const;
  void SetLinkUp(DeviceId device, bool up);
  bool IsLinkUp(DeviceId device) const;
  bool InjectEvent(DeviceId device, uint16_t code);
  bool InjectInputReport(DeviceId device, int interface_number, std::span<const uint8_t> report);
  void SetLatency(std::optional<DeviceId> device, std::chrono::milliseconds latency);
  void AddFault(DeviceId device, const FaultRule& rule);
  void ClearFaults(DeviceId device);
  std::vector<uint8_t> ReadMemory(DeviceId device, MemoryArea area, size_t offset, size_t length) const;
  bool WriteMemory(DeviceId device, MemoryArea area, size_t offset, std::span<const uint8_t> bytes);
  size_t MemorySize(DeviceId device, MemoryArea area) const;
  FirmwareCounters Counters(DeviceId device) const;
  std::vector<std::vector<uint8_t>> OutputReports(DeviceId device) const;
  void ClearOutputReports(DeviceId device);
  std::vector<LoggedFrame> FrameLogSnapshot();
  void ClearFrameLog();
  void SetFrameListener(std::function<void(const LoggedFrame&)> listener);

  // Memory file (kept_memory.cpp).
  std::string KeepMemoryIn(const std::filesystem::path& file);
  void FlushMemoryFile();

 private:
  struct HotplugListener;
  class Subscription;

  EmulatedDevice& DeviceAt(DeviceId device);
  const EmulatedDevice& DeviceAt(DeviceId device) const;
  std::shared_ptr<NodeState> CommandNode(const EmulatedDevice& device) const;
  bool InjectLocked(EmulatedDevice& device, NodeState* node, std::vector<uint8_t> report);
  int TakeNodeNumber(NodeNumbering numbering);
  void PlugLocked(DeviceId device, NodeNumbering numbering);
  bool HandleCommand(NodeState& node, EmulatedDevice& device, std::span<const uint8_t> report,
                     SteadyTime now);
  void Schedule(NodeState& node, std::vector<uint8_t> bytes, SteadyTime due, bool late, bool command_reply);
  // Moves the reports that are due into the readers' queues, in the order they left the device.
  void Deliver(NodeState& node, SteadyTime now);
  void Log(FrameDirection direction, const NodeState& node, std::span<const uint8_t> bytes, SteadyTime at);
  // Calls the listeners outside the core's lock.
  void AnnounceFrames();
  void NotifyHotplug();
  // Hands the kept areas' contents to the memory file writer, when there is one.
  void KeptMemoryChangedLocked();
  std::vector<StoredDevice> StoredDevicesLocked() const;

  mutable std::mutex mutex_;
  std::vector<EmulatedDevice> devices_;
  std::set<int> numbers_in_use_;
  int next_fresh_number_ = 0;
  uint64_t next_sequence_ = 0;
  FrameLog log_;
  std::vector<LoggedFrame> unannounced_;

  std::mutex listener_mutex_;  // held while the frame listener runs; never while holding mutex_
  std::function<void(const LoggedFrame&)> frame_listener_;
  bool has_frame_listener_ = false;  // guarded by mutex_, so frames are only gathered when someone listens

  std::mutex hotplug_mutex_;
  std::vector<std::shared_ptr<HotplugListener>> hotplug_listeners_;

  // Guarded by mutex_. The writer's own lock is taken under mutex_, never the other way round.
  std::shared_ptr<MemoryFileWriter> memory_writer_;
  std::vector<StoredDevice> stored_elsewhere_;  // what the file holds for devices this list does not have
};

}  // namespace norvane::emulator
