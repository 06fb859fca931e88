#include "tests/protocol/emulated_link.h"

#include <gtest/gtest.h>

#include "hid/hid_device.h"
#include "protocol/channel_opener.h"

namespace norvane::protocol::testing {

EmulatedLink::EmulatedLink(std::vector<emulator::DeviceModel> models)
    : backend_(std::make_shared<emulator::EmulatorBackend>(models)),
      previous_(hid::SetActiveHidBackend(backend_)) {}

EmulatedLink::~EmulatedLink() {
  hid::SetActiveHidBackend(previous_);
}

std::string EmulatedLink::CommandPath(hid::DeviceKind kind) const {
  hid::HidDevice walker;
  if (walker.EnumerateInterfaces() != 1) return {};
  while (const std::string* path = walker.NextInterfacePath()) {
    const auto row =
        hid::FindCandidateRow(hid::ParseVendorId(*path), hid::ParseProductId(*path),
                              hid::ParseInterfaceNumber(*path), hid::ParseCollectionNumber(*path));
    if (!row) continue;
    const hid::InterfaceEntry& entry = hid::InterfaceTable()[*row];
    if (entry.kind == kind && entry.IsVendorCommandInterface()) return *path;
  }
  return {};
}

void EmulatedLink::Open(CommandChannel& channel, hid::DeviceKind kind) {
  const std::string path = CommandPath(kind);
  ASSERT_FALSE(path.empty()) << "no command interface for kind " << static_cast<int>(kind);
  const LinkType link = hid::IsReceiverKind(kind) ? LinkType::kReceiver : LinkType::kWired;
  ASSERT_EQ(OpenCommandInterface(channel, path, link), hid::OpenError::kNone) << path;
  channel.SetTimeLimits(kTestWiredLimit, kTestReceiverLimit);
  backend_->ClearFrameLog();
}

emulator::DeviceId EmulatedLink::Device(emulator::DeviceModel model, int nth) const {
  const auto id = backend_->FindDevice(model, nth);
  EXPECT_TRUE(id.has_value());
  return id.value_or(0);
}

std::vector<std::array<uint8_t, 64>> EmulatedLink::Requests() const {
  std::vector<std::array<uint8_t, 64>> frames;
  for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToDevice) frames.push_back(frame.bytes);
  }
  return frames;
}

std::vector<std::array<uint8_t, 64>> EmulatedLink::Replies() const {
  std::vector<std::array<uint8_t, 64>> frames;
  for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToHost) frames.push_back(frame.bytes);
  }
  return frames;
}

}  // namespace norvane::protocol::testing
