#pragma once
// An open emulated node, as the HID layer sees it.

#include <memory>

#include "emulator/emulator_core.h"
#include "hid/hid_backend.h"

namespace norvane::emulator {

class EmulatedConnection final : public hid::HidNodeConnection {
 public:
  EmulatedConnection(std::shared_ptr<EmulatorCore> core, std::shared_ptr<NodeState> node);
  ~EmulatedConnection() override;
  EmulatedConnection(const EmulatedConnection&) = delete;
  EmulatedConnection& operator=(const EmulatedConnection&) = delete;

  bool WriteOutput(std::span<const uint8_t> report) override;
  // The control pipe carries the same output report to the device.
  bool WriteOutputControl(std::span<const uint8_t> report) override;
  // None of the emulated devices declares feature reports.
  bool SetFeature(std::span<const uint8_t> report) override;
  std::optional<size_t> GetFeature(std::span<uint8_t> report) override;
  hid::ReadStatus ReadInput(std::vector<uint8_t>& report, std::chrono::milliseconds timeout) override;
  void Wake() override;

 private:
  std::shared_ptr<EmulatorCore> core_;
  ConnectionState state_;
};

}  // namespace norvane::emulator
