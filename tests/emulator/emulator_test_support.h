#pragma once
// Frames built by hand, byte by byte, the way a host lays them out on the wire, and a plain write-then-read
// exchange over the HidBackend interface.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emulator/emulator.h"

namespace norvane::emulator::testing {

using Bytes = std::vector<uint8_t>;
using Wire = std::array<uint8_t, 64>;

inline Wire MakeFrame(uint8_t command, uint8_t length, uint16_t offset,
                      std::span<const uint8_t> payload = {}) {
  Wire frame{};
  frame[0] = 0x04;
  frame[3] = command;
  frame[4] = length;
  frame[5] = static_cast<uint8_t>(offset & 0xFF);
  frame[6] = static_cast<uint8_t>(offset >> 8);
  for (size_t i = 0; i < payload.size() && i < 56; ++i) frame[8 + i] = payload[i];
  uint32_t sum = 0;
  for (size_t i = 3; i < 64; ++i) sum += frame[i];
  frame[1] = static_cast<uint8_t>(sum & 0xFF);
  frame[2] = static_cast<uint8_t>((sum >> 8) & 0xFF);
  return frame;
}

inline Bytes PayloadOf(const Bytes& reply, size_t count) {
  return Bytes(reply.begin() + 8, reply.begin() + 8 + static_cast<std::ptrdiff_t>(count));
}

class EmulatorTest : public ::testing::Test {
 protected:
  void Create(std::string_view list) {
    std::string error;
    backend = EmulatorBackend::FromList(list, &error);
    ASSERT_NE(backend, nullptr) << error;
  }

  DeviceId Find(DeviceModel model, int nth = 0) {
    const auto id = backend->FindDevice(model, nth);
    EXPECT_TRUE(id.has_value());
    return id.value_or(0);
  }

  std::unique_ptr<hid::HidNodeConnection> OpenCommandNode(DeviceId device) {
    const auto node = backend->CommandNodeId(device);
    if (!node) return nullptr;
    hid::OpenError error = hid::OpenError::kIoError;
    auto connection = backend->Open(*node, nullptr, error);
    EXPECT_EQ(error, hid::OpenError::kNone);
    return connection;
  }

  // Writes the frame and reads one report; nullopt when the write failed or nothing came in time.
  static std::optional<Bytes> Exchange(hid::HidNodeConnection& connection, const Wire& frame,
                                       std::chrono::milliseconds timeout = std::chrono::milliseconds(200)) {
    if (!connection.WriteOutput(frame)) return std::nullopt;
    Bytes reply;
    if (connection.ReadInput(reply, timeout) != hid::ReadStatus::kReport) return std::nullopt;
    return reply;
  }

  std::shared_ptr<EmulatorBackend> backend;
};

}  // namespace norvane::emulator::testing
