#include <gtest/gtest.h>

#include <chrono>

#include "devices/button_binding.h"
#include "devices/function_tabs.h"
#include "devices/paired_link.h"
#include "devices/usb_device.h"
#include "protocol/channel_opener.h"
#include "test_support.h"

namespace norvane::devices {
namespace {

using namespace std::chrono_literals;
using emulator::DeviceModel;
using emulator::FrameDirection;
using hid::DeviceKind;
using testing::InstalledEmulator;

constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kKeyboard = 0x5055;
constexpr uint16_t kKeyboardReceiver = 0x50EC;
constexpr uint8_t kTakeLightControl = 0x1C;
constexpr uint8_t kQueryLink = 0xAA;

int RequestsWithCode(const emulator::EmulatorBackend& backend, uint8_t code) {
  int count = 0;
  for (const auto& frame : backend.FrameLog()) {
    if (frame.direction == FrameDirection::kToDevice && frame.bytes[3] == code) ++count;
  }
  return count;
}

hid::InterfaceEntry EntryOfKind(DeviceKind kind) {
  for (const auto& row : hid::InterfaceTable()) {
    if (row.kind == kind && row.role == hid::InterfaceRole::kCommand) return row;
  }
  return {};
}

TEST(DevicePage, ButtonsBindByNumberedNamesWithinTheCounts) {
  EXPECT_EQ(KeyIndexFromName("KEY_5", 100), 5);
  EXPECT_EQ(KeyIndexFromName("key_0", 100), 0);
  EXPECT_FALSE(KeyIndexFromName("key_200", 100));
  EXPECT_FALSE(KeyIndexFromName("key_", 100));
  EXPECT_FALSE(KeyIndexFromName("key_5x", 100));
  EXPECT_FALSE(KeyIndexFromName("key_99999999999999", 100));
  EXPECT_FALSE(KeyIndexFromName("hotkey_5", 100));
  EXPECT_EQ(LedIndexFromUserData("light_14", 15), 14);
  EXPECT_FALSE(LedIndexFromUserData("light_15", 15));
  EXPECT_FALSE(LedIndexFromUserData("light_-1", 15));
}

TEST(DevicePage, WirelessStateIsKeptOnlyByWirelessCapablePages) {
  CNorvaneUSBDevice page;
  page.SetWirelessState(3);
  EXPECT_EQ(page.WirelessState(), 0);
  page.SetWirelessCapable(true);
  page.SetWirelessState(3);
  EXPECT_EQ(page.WirelessState(), 3);
}

TEST(DevicePage, FunctionTabCodesPickTheSwitchTabs) {
  EXPECT_EQ(SelectFunctionTabs(2, DeviceKind::kMouse), (FunctionTabSelection{0, 1}));
  EXPECT_EQ(SelectFunctionTabs(8, DeviceKind::kMouse), (FunctionTabSelection{1, -1}));
  EXPECT_EQ(SelectFunctionTabs(4, DeviceKind::kKeyboard), (FunctionTabSelection{3, -1}));
  EXPECT_EQ(SelectFunctionTabs(4, DeviceKind::kMousePad), (FunctionTabSelection{0, 2}));
  EXPECT_EQ(SelectFunctionTabs(5, DeviceKind::kHeadset), (FunctionTabSelection{2, -1}));
  EXPECT_EQ(SelectFunctionTabs(99, DeviceKind::kHeadset), (FunctionTabSelection{0, 0}));
}

TEST(DevicePage, ProfileFilesRefuseNamesThatAreNotPlain) {
  CNorvaneUSBDevice page;
  page.SetDeviceFolder("keyboard");
  page.SetProfileStem("../escape");
  EXPECT_TRUE(page.CurrentProfileFile().empty());
  page.SetDeviceFolder("..");
  page.SetProfileStem("Profile1");
  EXPECT_TRUE(page.CurrentProfileFile().empty());
  EXPECT_TRUE(page.DefaultProfileFile().empty());
}

TEST(DevicePage, TakingTheLightControlTalksToAWiredKeyboardOnly) {
  InstalledEmulator emulator({DeviceModel::kKeyboard, DeviceModel::kMouse});
  CNorvaneUSBDevice keyboard;
  keyboard.SetIdentity(EntryOfKind(DeviceKind::kKeyboard));
  ASSERT_EQ(protocol::OpenCommandInterface(keyboard.CommandChannel(), emulator.PathOf(kKeyboard, kVendorPage),
                                           protocol::LinkType::kWired),
            hid::OpenError::kNone);
  CNorvaneUSBDevice mouse;
  mouse.SetIdentity(EntryOfKind(DeviceKind::kMouse));
  ASSERT_EQ(protocol::OpenCommandInterface(mouse.CommandChannel(), emulator.PathOf(0x50EF, kVendorPage),
                                           protocol::LinkType::kWired),
            hid::OpenError::kNone);

  mouse.SetLightControl(true);
  EXPECT_EQ(RequestsWithCode(emulator.Backend(), kTakeLightControl), 0);
  keyboard.SetLightControl(true);
  keyboard.SetLightControl(true);
  keyboard.SetLightControl(false);
  EXPECT_EQ(RequestsWithCode(emulator.Backend(), kTakeLightControl), 2);
  EXPECT_FALSE(keyboard.HasLightControl());
}

class PairedLinkTest : public ::testing::Test {
 protected:
  PairedLinkTest() {
    page.SetIdentity(EntryOfKind(DeviceKind::kKeyboard));
    page.SetWirelessCapable(true);
    page.CommandChannel().SetTimeLimits(60ms, 60ms);
    EXPECT_EQ(protocol::OpenCommandInterface(page.CommandChannel(), WiredPath(), protocol::LinkType::kWired),
              hid::OpenError::kNone);
    emulator.Backend().ClearFrameLog();
  }
  std::string WiredPath() { return emulator.PathOf(kKeyboard, kVendorPage); }
  std::string ReceiverPath() { return emulator.PathOf(kKeyboardReceiver, kVendorPage); }
  emulator::DeviceId Receiver() { return emulator.Device(DeviceModel::kKeyboardReceiver); }

  InstalledEmulator emulator{{DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver}};
  CNorvaneUSBDevice page;
  LinkWaitOptions quick{.extra_tries = 25, .interval = 1ms};
};

TEST_F(PairedLinkTest, SwitchesToTheReceiverAndBackClosingWhatItLeaves) {
  auto outcome = SwitchPairedLink(page, ReceiverPath(), {}, quick);
  EXPECT_TRUE(outcome.opened);
  EXPECT_TRUE(outcome.on_receiver);
  EXPECT_EQ(outcome.link, WirelessLinkAnswer::kUp);
  EXPECT_FALSE(page.CommandChannel().Wired().IsOpen());
  EXPECT_TRUE(page.CommandChannel().IsOpen());

  outcome = SwitchPairedLink(page, WiredPath(), {}, quick);
  EXPECT_TRUE(outcome.opened);
  EXPECT_FALSE(outcome.on_receiver);
  EXPECT_FALSE(page.CommandChannel().Receiver().IsOpen());
  EXPECT_TRUE(page.CommandChannel().Wired().IsOpen());
}

TEST_F(PairedLinkTest, AnOfflineDeviceIsAskedAgainUpTo25MoreTimes) {
  emulator.Backend().SetLinkUp(Receiver(), false);
  const auto outcome = SwitchPairedLink(page, ReceiverPath(), {}, quick);
  EXPECT_EQ(outcome.link, WirelessLinkAnswer::kOffline);
  EXPECT_EQ(RequestsWithCode(emulator.Backend(), kQueryLink), 26);
}

// A refusal is an answer, not a link, whatever its payload bytes hold: the device is asked again.
TEST_F(PairedLinkTest, ARefusedQueryIsNotALinkEvenWhenItsPayloadSaysReachable) {
  for (const auto kind : {emulator::FaultKind::kRefuse, emulator::FaultKind::kRefuseAlt}) {
    page.CommandChannel().SetOpen(false);
    ASSERT_EQ(protocol::OpenCommandInterface(page.CommandChannel(), WiredPath(), protocol::LinkType::kWired),
              hid::OpenError::kNone);
    emulator.Backend().ClearFrameLog();
    emulator.Backend().ClearFaults(Receiver());
    emulator.Backend().AddFault(Receiver(),
                                {.kind = kind, .command = kQueryLink, .times = 0, .refusal_fill = 0xFF});
    const auto outcome = SwitchPairedLink(page, ReceiverPath(), {}, quick);
    EXPECT_TRUE(outcome.on_receiver);
    EXPECT_EQ(outcome.link, WirelessLinkAnswer::kOffline);
    EXPECT_EQ(RequestsWithCode(emulator.Backend(), kQueryLink), 26);
  }
}

TEST_F(PairedLinkTest, AReceiverThatDoesNotAnswerIsNotAskedAgain) {
  emulator.Backend().AddFault(Receiver(), {.kind = emulator::FaultKind::kNoReply, .times = 0});
  const auto started = std::chrono::steady_clock::now();
  const auto outcome = SwitchPairedLink(page, ReceiverPath(), {}, quick);
  EXPECT_EQ(outcome.link, WirelessLinkAnswer::kNoAnswer);
  EXPECT_EQ(RequestsWithCode(emulator.Backend(), kQueryLink), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
}

TEST_F(PairedLinkTest, AFailedOpenLeavesTheChannelClosed) {
  const auto outcome = SwitchPairedLink(page, "/dev/hidraw77#vid_320f&pid_50ec&mi_01&col04#gone", {}, quick);
  EXPECT_FALSE(outcome.opened);
  EXPECT_FALSE(page.CommandChannel().IsOpen());
  EXPECT_FALSE(page.CommandChannel().Wired().IsOpen());
}

}  // namespace
}  // namespace norvane::devices
