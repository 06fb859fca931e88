#include "emulator/emulated_connection.h"

#include <utility>

namespace norvane::emulator {

EmulatedConnection::EmulatedConnection(std::shared_ptr<EmulatorCore> core, std::shared_ptr<NodeState> node)
    : core_(std::move(core)), state_(std::move(node)) {
  core_->Attach(state_);
}

EmulatedConnection::~EmulatedConnection() {
  core_->Detach(state_);
}

bool EmulatedConnection::WriteOutput(std::span<const uint8_t> report) {
  return core_->Write(state_, report);
}

bool EmulatedConnection::WriteOutputControl(std::span<const uint8_t> report) {
  return core_->Write(state_, report);
}

bool EmulatedConnection::SetFeature(std::span<const uint8_t>) {
  return false;
}

std::optional<size_t> EmulatedConnection::GetFeature(std::span<uint8_t>) {
  return std::nullopt;
}

hid::ReadStatus EmulatedConnection::ReadInput(std::vector<uint8_t>& report,
                                              std::chrono::milliseconds timeout) {
  return core_->Read(state_, report, timeout);
}

void EmulatedConnection::Wake() {
  core_->Wake(state_);
}

}  // namespace norvane::emulator
