#include "tests/protocol/emulated_link.h"

#include <gtest/gtest.h>

#include "protocol/channel_opener.h"

namespace norvane::protocol::testing {

void EmulatedLink::Open(CommandChannel& channel, hid::DeviceKind kind) {
  const std::string path = CommandPath(kind);
  ASSERT_FALSE(path.empty()) << "no command interface for kind " << static_cast<int>(kind);
  const LinkType link = hid::IsReceiverKind(kind) ? LinkType::kReceiver : LinkType::kWired;
  ASSERT_EQ(OpenCommandInterface(channel, path, link), hid::OpenError::kNone) << path;
  channel.SetTimeLimits(kTestWiredLimit, kTestReceiverLimit);
  ClearLog();
}

emulator::DeviceId EmulatedLink::Device(emulator::DeviceModel model, int nth) const {
  const auto id = emulator_.Backend().FindDevice(model, nth);
  EXPECT_TRUE(id.has_value());
  return id.value_or(0);
}

std::vector<std::array<uint8_t, 64>> EmulatedLink::Requests() const {
  std::vector<std::array<uint8_t, 64>> frames;
  for (const emulator::LoggedFrame& frame : emulator_.Backend().FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToDevice) frames.push_back(frame.bytes);
  }
  return frames;
}

std::vector<std::array<uint8_t, 64>> EmulatedLink::Replies() const {
  std::vector<std::array<uint8_t, 64>> frames;
  for (const emulator::LoggedFrame& frame : emulator_.Backend().FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToHost) frames.push_back(frame.bytes);
  }
  return frames;
}

}  // namespace norvane::protocol::testing
