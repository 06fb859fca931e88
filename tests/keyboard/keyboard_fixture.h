#pragma once
// A keyboard page against the emulated keyboard and its receiver, with its profile files in a private data
// folder, a manual clock and a queue standing in for the UI thread.

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/queue_poster.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::testing {

constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kConsumerPage = 0x000C;
constexpr uint16_t kKeyboardProduct = 0x5055;
constexpr uint16_t kReceiverProduct = 0x50EC;

// Reference codes of the keys the tests name, as the key table rules give them; where a key sits on the
// emulated keyboard is looked up in the device's own table (PositionOf), never taken from its UI index.
using Code = std::vector<uint8_t>;
inline const Code kCodeEscape{0x20, 0x00, 0x29};  // UI key 0
inline const Code kCodeF3{0x20, 0x00, 0x3C};      // UI key 3
inline const Code kCodeA{0x20, 0x00, 0x04};       // UI key 64
inline const Code kCodeS{0x20, 0x00, 0x16};       // UI key 65
inline const Code kCodeD{0x20, 0x00, 0x07};       // UI key 66
inline const Code kCodeF{0x20, 0x00, 0x09};       // UI key 67
inline const Code kCodeG{0x20, 0x00, 0x0A};       // UI key 68
inline const Code kCodeH{0x20, 0x00, 0x0B};       // UI key 69
inline const Code kCodeRightWin{0x20, 0x80, 0x00};  // UI key 125
inline const Code kCodeIntl87{0x20, 0x00, 0x87};    // UI key 100
inline const Code kCodeBlank{0x20, 0x00, 0x00};     // UI keys 18 to 20, 104 and 126 to 169

class KeyboardTest : public ::testing::Test {
 protected:
  KeyboardTest();
  ~KeyboardTest() override;

  // A new page on the fixture's clock and poster; its lighting thread sleeps with `sleeper`.
  void MakePage(lighting::Sleeper* sleeper);
  // Path of the collection with that usage page of the device with this product id.
  std::string PathOf(uint16_t product, uint16_t usage_page) const;
  void OpenWired();
  void OpenReceiver();
  emulator::DeviceId Keyboard() const { return keyboard_; }
  emulator::DeviceId Receiver() const { return receiver_; }
  emulator::EmulatorBackend& Emulator() { return emulator_.Backend(); }

  // Request frames sent to the devices with this command code.
  std::vector<emulator::LoggedFrame> Requests(uint8_t code) const;
  std::vector<uint8_t> Memory(emulator::MemoryArea area, size_t offset, size_t length) const;
  // Every position of the keyboard's key table (as its memory holds it now) that holds `code`, in order;
  // PositionOf is the first of them (-1 when none).
  std::vector<int> PositionsOf(const Code& code) const;
  int PositionOf(const Code& code) const;
  std::filesystem::path ProfileFile() const { return page->CurrentProfileFile(); }
  // Writes "macro.config" and one ".mac" file per macro, with `events[i]` key events each.
  void WriteMacros(const std::vector<int>& events);

  norvane::testing::TempFolder root_;
  norvane::testing::ScopedEnv data_home_;
  QueuePoster poster;
  ManualClock clock;
  norvane::testing::ScopedEmulator emulator_{
      {emulator::DeviceModel::kKeyboard, emulator::DeviceModel::kKeyboardReceiver}};
  norvane::testing::ScopedDefaultData default_data_;
  emulator::DeviceId keyboard_ = 0;
  emulator::DeviceId receiver_ = 1;
  std::unique_ptr<CNorvaneKeyboardDevice> page;
};

}  // namespace norvane::devices::testing
