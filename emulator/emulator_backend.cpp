// EmulatorBackend: the public face of the emulator core.

#include <utility>

#include "emulator/emulator.h"
#include "emulator/emulator_core.h"

namespace norvane::emulator {

EmulatorBackend::EmulatorBackend(std::span<const DeviceModel> devices)
    : core_(std::make_shared<EmulatorCore>(devices)) {}

std::shared_ptr<EmulatorBackend> EmulatorBackend::FromList(std::string_view list, std::string* error) {
  const std::optional<std::vector<DeviceModel>> models = ParseDeviceList(list, error);
  if (!models) return nullptr;
  return std::make_shared<EmulatorBackend>(*models);
}

EmulatorBackend::~EmulatorBackend() = default;

std::optional<std::vector<hid::HidNodeInfo>> EmulatorBackend::Enumerate() {
  return core_->Enumerate();
}

std::unique_ptr<hid::HidNodeConnection> EmulatorBackend::Open(const std::string& node_id,
                                                              const hid::HidNodeInfo* expected,
                                                              hid::OpenError& error) {
  return core_->Open(node_id, expected, error);
}

std::unique_ptr<hid::HotplugSubscription> EmulatorBackend::WatchHotplug(std::function<void()> on_change) {
  return core_->WatchHotplug(std::move(on_change));
}

size_t EmulatorBackend::DeviceCount() const {
  return core_->DeviceCount();
}
DeviceModel EmulatorBackend::ModelOf(DeviceId device) const {
  return core_->ModelOf(device);
}
std::optional<DeviceId> EmulatorBackend::FindDevice(DeviceModel model, int nth) const {
  return core_->FindDevice(model, nth);
}
std::optional<std::string> EmulatorBackend::NodeId(DeviceId device, int interface_number) const {
  return core_->NodeId(device, interface_number);
}
std::optional<std::string> EmulatorBackend::CommandNodeId(DeviceId device) const {
  return core_->CommandNodeId(device);
}

void EmulatorBackend::Unplug(DeviceId device) {
  core_->Unplug(device);
}
void EmulatorBackend::Plug(DeviceId device, NodeNumbering numbering) {
  core_->Plug(device, numbering);
}
bool EmulatorBackend::IsPlugged(DeviceId device) const {
  return core_->IsPlugged(device);
}

void EmulatorBackend::SetLinkUp(DeviceId receiver, bool up) {
  core_->SetLinkUp(receiver, up);
}
bool EmulatorBackend::IsLinkUp(DeviceId device) const {
  return core_->IsLinkUp(device);
}

bool EmulatorBackend::InjectEvent(DeviceId device, uint16_t code) {
  return core_->InjectEvent(device, code);
}
bool EmulatorBackend::InjectInputReport(DeviceId device, int interface_number,
                                        std::span<const uint8_t> report) {
  return core_->InjectInputReport(device, interface_number, report);
}

void EmulatorBackend::SetLatency(std::chrono::milliseconds latency) {
  core_->SetLatency(std::nullopt, latency);
}
void EmulatorBackend::SetLatency(DeviceId device, std::chrono::milliseconds latency) {
  core_->SetLatency(device, latency);
}

void EmulatorBackend::AddFault(DeviceId device, const FaultRule& rule) {
  core_->AddFault(device, rule);
}
void EmulatorBackend::ClearFaults(DeviceId device) {
  core_->ClearFaults(device);
}

std::vector<uint8_t> EmulatorBackend::ReadMemory(DeviceId device, MemoryArea area, size_t offset,
                                                 size_t length) const {
  return core_->ReadMemory(device, area, offset, length);
}
bool EmulatorBackend::WriteMemory(DeviceId device, MemoryArea area, size_t offset,
                                  std::span<const uint8_t> bytes) {
  return core_->WriteMemory(device, area, offset, bytes);
}
size_t EmulatorBackend::MemorySize(DeviceId device, MemoryArea area) const {
  return core_->MemorySize(device, area);
}
FirmwareCounters EmulatorBackend::Counters(DeviceId device) const {
  return core_->Counters(device);
}

std::vector<std::vector<uint8_t>> EmulatorBackend::OutputReports(DeviceId device) const {
  return core_->OutputReports(device);
}
void EmulatorBackend::ClearOutputReports(DeviceId device) {
  core_->ClearOutputReports(device);
}

std::string EmulatorBackend::KeepMemoryIn(const std::filesystem::path& file) {
  return core_->KeepMemoryIn(file);
}
void EmulatorBackend::FlushMemoryFile() {
  core_->FlushMemoryFile();
}

std::vector<LoggedFrame> EmulatorBackend::FrameLog() const {
  return core_->FrameLogSnapshot();
}
void EmulatorBackend::ClearFrameLog() {
  core_->ClearFrameLog();
}
void EmulatorBackend::SetFrameListener(std::function<void(const LoggedFrame&)> listener) {
  core_->SetFrameListener(std::move(listener));
}

}  // namespace norvane::emulator
