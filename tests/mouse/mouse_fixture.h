#pragma once
// A mouse page against the emulated mouse and its receiver, with its profile files in a private data
// folder, a manual clock and a queue standing in for the UI thread.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/mouse/mouse_device.h"
#include "emulator/emulator.h"
#include "tests/support/callback_page_view.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/queue_poster.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::testing {

constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kMouseProduct = 0x50EF;
constexpr uint16_t kReceiverProduct = 0x221D;

constexpr uint8_t kBegin = 0x01;
constexpr uint8_t kEnd = 0x02;
constexpr uint8_t kReadInfo = 0x03;
constexpr uint8_t kReadSettings = 0x05;
constexpr uint8_t kWriteSettings = 0x06;
constexpr uint8_t kReadKeyTable = 0x07;
constexpr uint8_t kWriteKeyTable = 0x09;
constexpr uint8_t kWriteMacros = 0x15;
constexpr uint8_t kLinkQuery = 0xAA;

// The reference codes of the mouse page's buttons, as the button rules give them.
using Code = std::vector<uint8_t>;
inline const Code kLeft{0x10, 0x01, 0x00};
inline const Code kRight{0x10, 0x02, 0x00};
inline const Code kMiddle{0x10, 0x04, 0x00};
inline const Code kForward{0x10, 0x10, 0x00};
inline const Code kBack{0x10, 0x08, 0x00};
inline const Code kDpiUp{0x13, 0x01, 0x00};
inline const Code kDpiDown{0x13, 0x02, 0x00};
inline const Code kDpiCycle{0x13, 0x03, 0x00};
inline const Code kModeKey{0xA0, 0x1B, 0x00};
inline const Code kDpiShift{0x16, 0x90, 0x01};
inline const Code kRapidFire{0x14, 0x78, 0x02};

class MouseTest : public ::testing::Test {
 protected:
  MouseTest();
  ~MouseTest() override;

  void MakePage();
  std::string PathOf(uint16_t product) const { return emulator_.PathOf(product, kVendorPage); }
  void OpenWired();
  void OpenReceiver();
  emulator::DeviceId Mouse() const { return mouse_; }
  emulator::DeviceId Receiver() const { return receiver_; }
  emulator::EmulatorBackend& Emulator() { return emulator_.Backend(); }

  // Request frames sent to the devices with this command code, in order.
  std::vector<emulator::LoggedFrame> Requests(uint8_t code) const;
  // The command codes sent, in order.
  std::vector<uint8_t> SentCodes() const;
  std::vector<uint8_t> Memory(emulator::MemoryArea area, size_t offset, size_t length) const;
  // The first position of the mouse's key table (as its memory holds it now) that holds `code`; -1 when none.
  int PositionOf(const Code& code) const;
  // Writes "macro.config" and one ".mac" file per macro, with `events[i]` key events each.
  void WriteMacros(const std::vector<int>& events);

  norvane::testing::TempFolder root_;
  norvane::testing::ScopedEnv data_home_;
  QueuePoster poster;
  ManualClock clock;
  norvane::testing::ScopedEmulator emulator_{{emulator::DeviceModel::kMouse, emulator::DeviceModel::kMouseReceiver}};
  norvane::testing::ScopedDefaultData default_data_;
  emulator::DeviceId mouse_ = 0;
  emulator::DeviceId receiver_ = 1;
  std::unique_ptr<CNorvaneMouseDevice> page;
  norvane::testing::CallbackPageView view;
  std::vector<DeviceMessage> messages;
};

}  // namespace norvane::devices::testing
