// The first synchronisation of the pages without a class of their own, against the emulated devices: what
// goes on the wire, and the result the page keeps.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "devices/basic_device.h"
#include "protocol/channel_opener.h"
#include "test_support.h"

namespace norvane::devices {
namespace {

using namespace std::chrono_literals;
using emulator::DeviceModel;
using emulator::FrameDirection;
using testing::InstalledEmulator;

constexpr uint16_t kConsumerPage = 0x000C;
constexpr uint16_t kVendorPage = 0xFF1C;

// Command code and data length of every request frame, in wire order.
using Frames = std::vector<std::pair<int, int>>;
Frames Requests(const emulator::EmulatorBackend& backend) {
  Frames frames;
  for (const auto& frame : backend.FrameLog()) {
    if (frame.direction == FrameDirection::kToDevice) frames.emplace_back(frame.bytes[3], frame.bytes[4]);
  }
  return frames;
}

hid::InterfaceEntry CommandEntry(hid::DeviceKind kind) {
  for (const auto& row : hid::InterfaceTable()) {
    if (row.kind == kind && row.role == hid::InterfaceRole::kCommand) return row;
  }
  return {};
}

class FirstSyncTest : public ::testing::Test {
 protected:
  // A page of that kind on the device's command collection, wired, with the settings a new channel has.
  void Attach(hid::DeviceKind kind, uint16_t product, uint16_t usage_page) {
    page.SetIdentity(CommandEntry(kind));
    page.CommandChannel().SetTimeLimits(250ms, 250ms);
    ASSERT_EQ(protocol::OpenCommandInterface(page.CommandChannel(), emulator.PathOf(product, usage_page),
                                             protocol::LinkType::kWired),
              hid::OpenError::kNone);
    emulator.Backend().ClearFrameLog();
  }

  InstalledEmulator emulator{{DeviceModel::kHeadset, DeviceModel::kMousePad}};
  CNorvaneBasicDevice page;
};

// The headset's firmware has no information block: its first read is the active profile number.
TEST_F(FirstSyncTest, TheHeadsetIsNotAskedForAnInformationBlock) {
  Attach(hid::DeviceKind::kHeadset, 0x1630, kConsumerPage);
  const auto headset = emulator.Device(DeviceModel::kHeadset);
  const std::vector<uint8_t> active{2};
  ASSERT_TRUE(emulator.Backend().WriteMemory(headset, emulator::MemoryArea::kSettings, 0, active));
  page.InitialSync();
  EXPECT_EQ(Requests(emulator.Backend()), (Frames{{0x01, 0}, {0x05, 1}, {0x02, 0}}));
  EXPECT_EQ(page.LastSyncResult(), SyncResult::kDone);
  EXPECT_EQ(page.LastSyncCode(), 1);
  EXPECT_FALSE(page.HasDeviceInfo());
  EXPECT_EQ(page.ActiveProfile(), 2);
  EXPECT_TRUE(page.IsLightingThreadRunning()) << "the page stays usable";
  page.StopLightingThread();
}

TEST_F(FirstSyncTest, AHeadsetThatRefusesIsReportedAndTheSeriesStillEnds) {
  Attach(hid::DeviceKind::kHeadset, 0x1630, kConsumerPage);
  const auto headset = emulator.Device(DeviceModel::kHeadset);
  emulator.Backend().AddFault(headset, {.kind = emulator::FaultKind::kRefuse, .command = 0x05});
  page.InitialSync();
  EXPECT_EQ(page.LastSyncResult(), SyncResult::kRefused);
  EXPECT_EQ(page.LastSyncCode(), -102);
  EXPECT_FALSE(emulator.Backend().Counters(headset).session_open);
  EXPECT_TRUE(page.IsLightingThreadRunning());
  page.StopLightingThread();
}

TEST_F(FirstSyncTest, TheMousePadReadsItsInformationBlock) {
  Attach(hid::DeviceKind::kMousePad, 0x1004, kVendorPage);
  page.InitialSync();
  EXPECT_EQ(Requests(emulator.Backend()), (Frames{{0x01, 0}, {0x03, 34}, {0x02, 0}}));
  EXPECT_EQ(page.LastSyncResult(), SyncResult::kDone);
  ASSERT_TRUE(page.HasDeviceInfo());
  EXPECT_EQ(page.DeviceInfo()[2], 3) << "kind code byte of the pad's block";
  page.StopLightingThread();
}

}  // namespace
}  // namespace norvane::devices
