#include "emulator/emulator_core.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "emulator/command_frame.h"
#include "emulator/emulated_connection.h"
#include "emulator/firmware.h"

namespace norvane::emulator {

// A hotplug callback. `call_mutex` is held while the callback runs, so that destroying the subscription waits
// for a running call and no call starts afterwards; it is recursive so a callback may drop its own
// subscription.
struct EmulatorCore::HotplugListener {
  std::recursive_mutex call_mutex;
  bool active = true;
  std::function<void()> callback;
};

class EmulatorCore::Subscription final : public hid::HotplugSubscription {
 public:
  Subscription(std::shared_ptr<EmulatorCore> core, std::shared_ptr<HotplugListener> listener)
      : core_(std::move(core)), listener_(std::move(listener)) {}
  ~Subscription() override {
    {
      std::lock_guard lock(core_->hotplug_mutex_);
      std::erase(core_->hotplug_listeners_, listener_);
    }
    std::lock_guard call(listener_->call_mutex);
    listener_->active = false;
  }

 private:
  std::shared_ptr<EmulatorCore> core_;
  std::shared_ptr<HotplugListener> listener_;
};

namespace {

bool IsReceiverFamilyPartner(DeviceModel receiver, DeviceModel wired) {
  return (receiver == DeviceModel::kKeyboardReceiver && wired == DeviceModel::kKeyboard) ||
         (receiver == DeviceModel::kMouseReceiver && wired == DeviceModel::kMouse);
}

std::string NodeName(int number) {
  return "emu/hidraw" + std::to_string(number);
}

// A "no time limit" read passes a huge timeout; keep the deadline representable.
SteadyTime DeadlineAfter(SteadyTime now, std::chrono::milliseconds timeout) {
  constexpr auto kLongest = std::chrono::hours(24 * 365);
  return now + std::clamp<std::chrono::milliseconds>(timeout, std::chrono::milliseconds(0), kLongest);
}

}  // namespace

EmulatorCore::EmulatorCore(std::span<const DeviceModel> models) {
  devices_.reserve(models.size());
  for (size_t index = 0; index < models.size(); ++index) {
    EmulatedDevice device;
    device.model = models[index];
    device.identity = &IdentityOf(models[index]);
    device.port = static_cast<int>(index) + 1;
    devices_.push_back(std::move(device));
  }
  // Each receiver reaches the wired device of its family with the same rank among the list's wired devices
  // of that family; they share one memory. A receiver without a partner reaches a device of its own.
  std::vector<bool> paired(devices_.size(), false);
  for (EmulatedDevice& receiver : devices_) {
    if (!receiver.identity->receiver) continue;
    for (size_t index = 0; index < devices_.size(); ++index) {
      if (!paired[index] && IsReceiverFamilyPartner(receiver.model, devices_[index].model)) {
        paired[index] = true;
        if (!devices_[index].memory) {
          devices_[index].memory = std::make_shared<DeviceMemory>(devices_[index].identity->family);
        }
        receiver.memory = devices_[index].memory;
        break;
      }
    }
  }
  for (size_t index = 0; index < devices_.size(); ++index) {
    EmulatedDevice& device = devices_[index];
    if (!device.memory) device.memory = std::make_shared<DeviceMemory>(device.identity->family);
    PlugLocked(static_cast<DeviceId>(index), NodeNumbering::kLowestFree);
  }
}

EmulatedDevice& EmulatorCore::DeviceAt(DeviceId device) {
  if (device < 0 || static_cast<size_t>(device) >= devices_.size()) {
    throw std::out_of_range("no emulated device " + std::to_string(device));
  }
  return devices_[static_cast<size_t>(device)];
}

const EmulatedDevice& EmulatorCore::DeviceAt(DeviceId device) const {
  return const_cast<EmulatorCore*>(this)->DeviceAt(device);
}

std::shared_ptr<NodeState> EmulatorCore::CommandNode(const EmulatedDevice& device) const {
  for (const auto& node : device.nodes) {
    if (node->carries_commands) return node;
  }
  return nullptr;
}

// ---- Plugging -------------------------------------------------------------------------------------------

int EmulatorCore::TakeNodeNumber(NodeNumbering numbering) {
  int number = next_fresh_number_;
  if (numbering == NodeNumbering::kLowestFree) {
    number = 0;
    while (numbers_in_use_.contains(number)) ++number;
  }
  numbers_in_use_.insert(number);
  next_fresh_number_ = std::max(next_fresh_number_, number + 1);
  return number;
}

void EmulatorCore::PlugLocked(DeviceId id, NodeNumbering numbering) {
  EmulatedDevice& device = DeviceAt(id);
  if (device.plugged) return;
  device.plugged = true;
  const UsbIdentity& identity = *device.identity;
  for (const HidInterfaceSpec& interface : identity.interfaces) {
    auto node = std::make_shared<NodeState>();
    node->number = TakeNodeNumber(numbering);
    node->device = id;
    node->carries_commands = interface.carries_commands;
    node->info.node_id = NodeName(node->number);
    node->info.vendor_id = identity.vendor_id;
    node->info.product_id = identity.product_id;
    node->info.version = identity.version;
    node->info.interface_number = interface.number;
    node->info.composite = true;  // every model has more than one USB interface (the headset's are audio)
    node->info.usb_location = "1-" + std::to_string(device.port) + ":1." + std::to_string(interface.number);
    node->info.report_descriptor.assign(interface.report_descriptor.begin(),
                                        interface.report_descriptor.end());
    device.nodes.push_back(std::move(node));
  }
}

void EmulatorCore::Plug(DeviceId device, NodeNumbering numbering) {
  {
    std::lock_guard lock(mutex_);
    if (DeviceAt(device).plugged) return;
    PlugLocked(device, numbering);
  }
  NotifyHotplug();
}

void EmulatorCore::Unplug(DeviceId id) {
  {
    std::lock_guard lock(mutex_);
    EmulatedDevice& device = DeviceAt(id);
    if (!device.plugged) return;
    device.plugged = false;
    for (const auto& node : device.nodes) {
      node->present = false;
      node->outbox.clear();
      numbers_in_use_.erase(node->number);
      for (ConnectionState* reader : node->readers) reader->changed.notify_all();
    }
    device.nodes.clear();
  }
  NotifyHotplug();
}

bool EmulatorCore::IsPlugged(DeviceId device) const {
  std::lock_guard lock(mutex_);
  return DeviceAt(device).plugged;
}

// ---- Enumeration and opening ----------------------------------------------------------------------------

std::vector<hid::HidNodeInfo> EmulatorCore::Enumerate() {
  std::lock_guard lock(mutex_);
  std::vector<const NodeState*> nodes;
  for (const EmulatedDevice& device : devices_) {
    for (const auto& node : device.nodes) nodes.push_back(node.get());
  }
  std::sort(nodes.begin(), nodes.end(),
            [](const NodeState* a, const NodeState* b) { return a->number < b->number; });
  std::vector<hid::HidNodeInfo> infos;
  infos.reserve(nodes.size());
  for (const NodeState* node : nodes) infos.push_back(node->info);
  return infos;
}

std::unique_ptr<hid::HidNodeConnection> EmulatorCore::Open(const std::string& node_id,
                                                           const hid::HidNodeInfo* expected,
                                                           hid::OpenError& error) {
  std::shared_ptr<NodeState> found;
  {
    std::lock_guard lock(mutex_);
    for (const EmulatedDevice& device : devices_) {
      for (const auto& node : device.nodes) {
        if (node->info.node_id == node_id) found = node;
      }
    }
    if (!found) {
      error = hid::OpenError::kNotFound;
      return nullptr;
    }
    if (expected != nullptr &&
        (expected->vendor_id != found->info.vendor_id || expected->product_id != found->info.product_id ||
         expected->usb_location != found->info.usb_location)) {
      error = hid::OpenError::kIdentityMismatch;
      return nullptr;
    }
  }
  error = hid::OpenError::kNone;
  return std::make_unique<EmulatedConnection>(shared_from_this(), std::move(found));
}

void EmulatorCore::Attach(ConnectionState& connection) {
  std::lock_guard lock(mutex_);
  connection.node->readers.push_back(&connection);
}

void EmulatorCore::Detach(ConnectionState& connection) {
  std::lock_guard lock(mutex_);
  std::erase(connection.node->readers, &connection);
}

// ---- Hotplug --------------------------------------------------------------------------------------------

std::unique_ptr<hid::HotplugSubscription> EmulatorCore::WatchHotplug(std::function<void()> on_change) {
  auto listener = std::make_shared<HotplugListener>();
  listener->callback = std::move(on_change);
  {
    std::lock_guard lock(hotplug_mutex_);
    hotplug_listeners_.push_back(listener);
  }
  return std::make_unique<Subscription>(shared_from_this(), std::move(listener));
}

void EmulatorCore::NotifyHotplug() {
  std::vector<std::shared_ptr<HotplugListener>> listeners;
  {
    std::lock_guard lock(hotplug_mutex_);
    listeners = hotplug_listeners_;
  }
  for (const auto& listener : listeners) {
    std::lock_guard call(listener->call_mutex);
    if (listener->active && listener->callback) listener->callback();
  }
}

// ---- Traffic --------------------------------------------------------------------------------------------

void EmulatorCore::Schedule(NodeState& node, std::vector<uint8_t> bytes, SteadyTime due, bool late,
                            bool command_reply) {
  node.outbox.push_back(PendingReport{std::move(bytes), due, next_sequence_++, late, command_reply});
  for (ConnectionState* reader : node.readers) reader->changed.notify_all();
}

void EmulatorCore::Deliver(NodeState& node, SteadyTime now) {
  auto due_first = [](const PendingReport& a, const PendingReport& b) {
    return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
  };
  std::sort(node.outbox.begin(), node.outbox.end(), due_first);
  auto first_not_due = std::find_if(node.outbox.begin(), node.outbox.end(),
                                    [&](const PendingReport& report) { return report.due > now; });
  for (auto it = node.outbox.begin(); it != first_not_due; ++it) {
    if (it->command_reply) Log(FrameDirection::kToHost, node, it->bytes, now);
    for (ConnectionState* reader : node.readers) {
      if (reader->queue.size() < ConnectionState::kQueueCapacity) reader->queue.push_back(it->bytes);
    }
  }
  const bool delivered = first_not_due != node.outbox.begin();
  node.outbox.erase(node.outbox.begin(), first_not_due);
  if (delivered) {
    for (ConnectionState* reader : node.readers) reader->changed.notify_all();
  }
}

bool EmulatorCore::Write(ConnectionState& connection, std::span<const uint8_t> report) {
  bool written = false;
  {
    std::lock_guard lock(mutex_);
    NodeState& node = *connection.node;
    if (!node.present) return false;
    const SteadyTime now = std::chrono::steady_clock::now();
    Deliver(node, now);
    EmulatedDevice& device = DeviceAt(node.device);
    if (node.carries_commands && report.size() == kFrameSize && report[0] == kCommandReportId) {
      written = HandleCommand(node, device, report, now);
    } else if (node.carries_commands && report.size() == kHeadsetLightReportSize &&
               report[0] == kHeadsetLightReportId && device.identity->family == DeviceFamily::kHeadset) {
      StoreHeadsetLighting(*device.memory, report);  // a report it cannot use is taken and ignored
      constexpr size_t kMostOutputReports = 100000;
      if (device.output_reports.size() >= kMostOutputReports) device.output_reports.pop_front();
      device.output_reports.emplace_back(report.begin(), report.end());
      written = true;
    } else if (!node.carries_commands && report.size() == 2 && report[0] == 0 &&
               device.identity->family != DeviceFamily::kMouse) {
      written = true;  // the boot keyboard's LED report (no report ids: byte 0 is 0)
    }
    // Anything else matches no output report of the descriptor: the device stalls the transfer.
  }
  AnnounceFrames();
  return written;
}

bool EmulatorCore::HandleCommand(NodeState& node, EmulatedDevice& device, std::span<const uint8_t> report,
                                 SteadyTime now) {
  Frame request;
  std::copy(report.begin(), report.end(), request.begin());
  const std::optional<FaultRule> fault = device.faults.Next(request[frame_byte::kCommand]);
  if (fault && fault->kind == FaultKind::kWriteFailure) return false;
  Log(FrameDirection::kToDevice, node, request, now);

  // A reply held back by a late-reply fault leaves no later than the reply to this request.
  for (PendingReport& pending : node.outbox) {
    if (pending.late) pending.due = std::min(pending.due, now);
  }

  Frame reply;
  bool kept_area_written = false;
  if (device.identity->receiver && !device.link_up) {
    reply = LinkDownAnswer(request);
  } else if (fault && (fault->kind == FaultKind::kRefuse || fault->kind == FaultKind::kRefuseAlt)) {
    reply = RefusalAnswer(request, fault->kind == FaultKind::kRefuse ? kStatusRefused : kStatusBadChecksum);
    std::fill(reply.begin() + kPayloadOffset, reply.end(), fault->refusal_fill);
    StoreChecksum(reply);
  } else {
    reply = AnswerCommand(*device.memory, request, device.identity->receiver);
    const std::optional<MemoryArea> written = AreaWrittenBy(request, device.identity->family);
    kept_area_written = written && IsKeptArea(*written) && reply[frame_byte::kStatus] == kStatusDone;
  }

  SteadyTime due = now + device.latency;
  bool late = false;
  bool send = true;
  if (fault) {
    switch (fault->kind) {
      case FaultKind::kNoReply:
        send = false;
        break;
      case FaultKind::kLateReply:
        due = now + std::max(fault->delay, device.latency);
        late = true;
        break;
      case FaultKind::kWrongCommand:
        reply[frame_byte::kCommand] = fault->reply_command;
        StoreChecksum(reply);
        break;
      default:
        break;
    }
  }
  if (send) Schedule(node, std::vector<uint8_t>(reply.begin(), reply.end()), due, late, true);
  Deliver(node, now);
  // Like the device's flash, the file is written once the reply is on its way.
  if (kept_area_written) KeptMemoryChangedLocked();
  return true;
}

hid::ReadStatus EmulatorCore::Read(ConnectionState& connection, std::vector<uint8_t>& report,
                                   std::chrono::milliseconds timeout) {
  hid::ReadStatus status = hid::ReadStatus::kTimeout;
  {
    std::unique_lock lock(mutex_);
    NodeState& node = *connection.node;
    const SteadyTime deadline = DeadlineAfter(std::chrono::steady_clock::now(), timeout);
    while (true) {
      if (connection.woken) {
        connection.woken = false;
        status = hid::ReadStatus::kWoken;
        break;
      }
      if (!node.present) {
        status = hid::ReadStatus::kGone;
        break;
      }
      const SteadyTime now = std::chrono::steady_clock::now();
      Deliver(node, now);
      if (!connection.queue.empty()) {
        report = std::move(connection.queue.front());
        connection.queue.pop_front();
        status = hid::ReadStatus::kReport;
        break;
      }
      if (now >= deadline) {
        status = hid::ReadStatus::kTimeout;
        break;
      }
      SteadyTime wake_at = deadline;
      for (const PendingReport& pending : node.outbox) wake_at = std::min(wake_at, pending.due);
      connection.changed.wait_until(lock, wake_at);
    }
  }
  AnnounceFrames();
  return status;
}

void EmulatorCore::Wake(ConnectionState& connection) {
  std::lock_guard lock(mutex_);
  connection.woken = true;
  connection.changed.notify_all();
}

// ---- Frame log ------------------------------------------------------------------------------------------

void EmulatorCore::Log(FrameDirection direction, const NodeState& node, std::span<const uint8_t> bytes,
                       SteadyTime at) {
  LoggedFrame frame;
  frame.direction = direction;
  frame.device = node.device;
  frame.node_id = node.info.node_id;
  std::copy_n(bytes.begin(), std::min(bytes.size(), frame.bytes.size()), frame.bytes.begin());
  frame.at = at;
  if (has_frame_listener_) unannounced_.push_back(frame);
  log_.Append(std::move(frame));
}

void EmulatorCore::AnnounceFrames() {
  // listener_mutex_ first, then mutex_: announcements leave in the order they were logged.
  std::lock_guard listener_lock(listener_mutex_);
  std::vector<LoggedFrame> frames;
  {
    std::lock_guard lock(mutex_);
    frames.swap(unannounced_);
  }
  if (!frame_listener_) return;
  for (const LoggedFrame& frame : frames) frame_listener_(frame);
}

std::vector<std::vector<uint8_t>> EmulatorCore::OutputReports(DeviceId device) const {
  std::lock_guard lock(mutex_);
  const EmulatedDevice& emulated = DeviceAt(device);
  return {emulated.output_reports.begin(), emulated.output_reports.end()};
}

void EmulatorCore::ClearOutputReports(DeviceId device) {
  std::lock_guard lock(mutex_);
  DeviceAt(device).output_reports.clear();
}

std::vector<LoggedFrame> EmulatorCore::FrameLogSnapshot() {
  {
    std::lock_guard lock(mutex_);
    const SteadyTime now = std::chrono::steady_clock::now();
    for (EmulatedDevice& device : devices_) {
      for (const auto& node : device.nodes) Deliver(*node, now);
    }
  }
  AnnounceFrames();
  std::lock_guard lock(mutex_);
  return log_.Snapshot();
}

void EmulatorCore::ClearFrameLog() {
  std::lock_guard lock(mutex_);
  log_.Clear();
}

void EmulatorCore::SetFrameListener(std::function<void(const LoggedFrame&)> listener) {
  std::lock_guard listener_lock(listener_mutex_);
  std::lock_guard lock(mutex_);
  has_frame_listener_ = static_cast<bool>(listener);
  frame_listener_ = std::move(listener);
  unannounced_.clear();
}

// ---- Control --------------------------------------------------------------------------------------------

size_t EmulatorCore::DeviceCount() const {
  std::lock_guard lock(mutex_);
  return devices_.size();
}

DeviceModel EmulatorCore::ModelOf(DeviceId device) const {
  std::lock_guard lock(mutex_);
  return DeviceAt(device).model;
}

std::optional<DeviceId> EmulatorCore::FindDevice(DeviceModel model, int nth) const {
  std::lock_guard lock(mutex_);
  for (size_t index = 0; index < devices_.size(); ++index) {
    if (devices_[index].model == model && nth-- == 0) return static_cast<DeviceId>(index);
  }
  return std::nullopt;
}

std::optional<std::string> EmulatorCore::NodeId(DeviceId device, int interface_number) const {
  std::lock_guard lock(mutex_);
  for (const auto& node : DeviceAt(device).nodes) {
    if (node->info.interface_number == interface_number) return node->info.node_id;
  }
  return std::nullopt;
}

std::optional<std::string> EmulatorCore::CommandNodeId(DeviceId device) const {
  std::lock_guard lock(mutex_);
  const auto node = CommandNode(DeviceAt(device));
  if (!node) return std::nullopt;
  return node->info.node_id;
}

void EmulatorCore::SetLinkUp(DeviceId device, bool up) {
  std::lock_guard lock(mutex_);
  EmulatedDevice& target = DeviceAt(device);
  if (target.identity->receiver) target.link_up = up;
}

bool EmulatorCore::IsLinkUp(DeviceId device) const {
  std::lock_guard lock(mutex_);
  const EmulatedDevice& target = DeviceAt(device);
  return !target.identity->receiver || target.link_up;
}

bool EmulatorCore::InjectLocked(EmulatedDevice& device, NodeState* node, std::vector<uint8_t> report) {
  if (node == nullptr || report.empty() || (device.identity->receiver && !device.link_up)) return false;
  const SteadyTime now = std::chrono::steady_clock::now();
  Schedule(*node, std::move(report), now, false, false);
  Deliver(*node, now);
  return true;
}

bool EmulatorCore::InjectEvent(DeviceId id, uint16_t code) {
  std::lock_guard lock(mutex_);
  EmulatedDevice& device = DeviceAt(id);
  const uint8_t report_id =
      device.identity->family == DeviceFamily::kHeadset ? kHeadsetEventReportId : kEventReportId;
  return InjectLocked(device, CommandNode(device).get(),
                      {report_id, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8)});
}

bool EmulatorCore::InjectInputReport(DeviceId id, int interface_number, std::span<const uint8_t> report) {
  std::lock_guard lock(mutex_);
  EmulatedDevice& device = DeviceAt(id);
  NodeState* target = nullptr;
  for (const auto& node : device.nodes) {
    if (node->info.interface_number == interface_number) target = node.get();
  }
  return InjectLocked(device, target, {report.begin(), report.end()});
}

void EmulatorCore::SetLatency(std::optional<DeviceId> device, std::chrono::milliseconds latency) {
  std::lock_guard lock(mutex_);
  latency = std::max(latency, std::chrono::milliseconds(0));
  if (device) {
    DeviceAt(*device).latency = latency;
    return;
  }
  for (EmulatedDevice& each : devices_) each.latency = latency;
}

void EmulatorCore::AddFault(DeviceId device, const FaultRule& rule) {
  std::lock_guard lock(mutex_);
  DeviceAt(device).faults.Add(rule);
}

void EmulatorCore::ClearFaults(DeviceId device) {
  std::lock_guard lock(mutex_);
  DeviceAt(device).faults.Clear();
}

std::vector<uint8_t> EmulatorCore::ReadMemory(DeviceId device, MemoryArea area, size_t offset,
                                              size_t length) const {
  std::lock_guard lock(mutex_);
  const std::span<const uint8_t> bytes = std::as_const(*DeviceAt(device).memory).Area(area);
  if (offset >= bytes.size()) return {};
  const size_t count = std::min(length, bytes.size() - offset);
  return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
          bytes.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

bool EmulatorCore::WriteMemory(DeviceId device, MemoryArea area, size_t offset,
                               std::span<const uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  const std::span<uint8_t> target = DeviceAt(device).memory->Area(area);
  if (offset > target.size() || bytes.size() > target.size() - offset) return false;
  std::copy(bytes.begin(), bytes.end(), target.begin() + static_cast<std::ptrdiff_t>(offset));
  if (IsKeptArea(area) && !bytes.empty()) KeptMemoryChangedLocked();
  return true;
}

size_t EmulatorCore::MemorySize(DeviceId device, MemoryArea area) const {
  std::lock_guard lock(mutex_);
  return std::as_const(*DeviceAt(device).memory).Area(area).size();
}

FirmwareCounters EmulatorCore::Counters(DeviceId device) const {
  std::lock_guard lock(mutex_);
  return DeviceAt(device).memory->counters;
}

}  // namespace norvane::emulator
