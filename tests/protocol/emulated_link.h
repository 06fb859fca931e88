#pragma once
// Test support: emulated devices installed as the HID backend, a command channel opened on one of them,
// and the request frames that reached the device.

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "emulator/emulator.h"
#include "hid/interface_table.h"
#include "protocol/command_channel.h"
#include "tests/support/emulator_fixture.h"

namespace norvane::protocol::testing {

// Short time limits so that "no reply" cases finish quickly; the emulator answers at once by default.
inline constexpr std::chrono::milliseconds kTestWiredLimit{80};
inline constexpr std::chrono::milliseconds kTestReceiverLimit{120};

class EmulatedLink {
 public:
  explicit EmulatedLink(std::vector<emulator::DeviceModel> models) : emulator_(std::move(models)) {}

  emulator::EmulatorBackend& Backend() { return emulator_.Backend(); }

  // The path of the command collection of the first device of that kind.
  std::string CommandPath(hid::DeviceKind kind) const { return emulator_.CommandPath(kind); }

  // Opens `channel` on the command interface of the device of that kind (receiver kinds over the receiver
  // link) with the short test time limits. Fails the test when it cannot.
  void Open(CommandChannel& channel, hid::DeviceKind kind);

  emulator::DeviceId Device(emulator::DeviceModel model, int nth = 0) const;

  // Request frames written to any device since the last ClearLog, oldest first.
  std::vector<std::array<uint8_t, 64>> Requests() const;
  std::vector<std::array<uint8_t, 64>> Replies() const;
  void ClearLog() { emulator_.Backend().ClearFrameLog(); }

 private:
  norvane::testing::ScopedEmulator emulator_;
};

// Little helpers for reading logged frames.
inline uint8_t CommandOf(const std::array<uint8_t, 64>& frame) {
  return frame[3];
}
inline uint8_t LengthOf(const std::array<uint8_t, 64>& frame) {
  return frame[4];
}
inline uint16_t OffsetOf(const std::array<uint8_t, 64>& frame) {
  return static_cast<uint16_t>(frame[5] | (frame[6] << 8));
}

}  // namespace norvane::protocol::testing
