#include "keyboard_fixture.h"

#include <algorithm>
#include <chrono>

#include "tests/support/macro_files.h"
#include "protocol/channel_opener.h"

namespace norvane::devices::testing {

using namespace std::chrono_literals;

KeyboardTest::KeyboardTest() : data_home_("XDG_DATA_HOME", root_.path().c_str()) {
  keyboard_ = emulator_.Device(emulator::DeviceModel::kKeyboard);
  receiver_ = emulator_.Device(emulator::DeviceModel::kKeyboardReceiver);
  MakePage(nullptr);
}

void KeyboardTest::MakePage(lighting::Sleeper* sleeper) {
  page = std::make_unique<CNorvaneKeyboardDevice>(
      PageServices{.clock = &clock, .sleeper = sleeper, .poster = &poster});
  page->SetSkinFile("XML\\DeviceXml\\keyboarddevice.xml");
  page->SetKeyCount(170);
  page->SetLedCount(170);
  page->SetProfileStem("Profile1");
  page->SetDeviceFolder("keyboard");
  page->SetLightListStem("vexor_light");
  // Short enough for quick fault tests, long enough for a loaded machine.
  page->CommandChannel().SetTimeLimits(250ms, 250ms);
}

KeyboardTest::~KeyboardTest() {
  page.reset();  // its threads stop before the emulator and the default data go
}

std::string KeyboardTest::PathOf(uint16_t product, uint16_t usage_page) const {
  return emulator_.PathOf(product, usage_page);
}

void KeyboardTest::OpenWired() {
  ASSERT_EQ(protocol::OpenCommandInterface(page->CommandChannel(), PathOf(kKeyboardProduct, kVendorPage),
                                           protocol::LinkType::kWired),
            hid::OpenError::kNone);
}

void KeyboardTest::OpenReceiver() {
  ASSERT_EQ(protocol::OpenCommandInterface(page->CommandChannel(), PathOf(kReceiverProduct, kVendorPage),
                                           protocol::LinkType::kReceiver),
            hid::OpenError::kNone);
}

std::vector<emulator::LoggedFrame> KeyboardTest::Requests(uint8_t code) const {
  std::vector<emulator::LoggedFrame> frames;
  for (const auto& frame : emulator_.Backend().FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == code)
      frames.push_back(frame);
  }
  return frames;
}

std::vector<uint8_t> KeyboardTest::Memory(emulator::MemoryArea area, size_t offset, size_t length) const {
  return emulator_.Backend().ReadMemory(keyboard_, area, offset, length);
}

std::vector<int> KeyboardTest::PositionsOf(const Code& code) const {
  const std::vector<uint8_t> table = Memory(emulator::MemoryArea::kKeyTable, 0, 512);
  std::vector<int> positions;
  for (size_t at = 0; at + 3 <= table.size(); at += 3) {
    if (std::equal(code.begin(), code.end(), table.begin() + static_cast<std::ptrdiff_t>(at))) {
      positions.push_back(static_cast<int>(at / 3));
    }
  }
  return positions;
}

int KeyboardTest::PositionOf(const Code& code) const {
  const std::vector<int> positions = PositionsOf(code);
  return positions.empty() ? -1 : positions.front();
}

void KeyboardTest::WriteMacros(const std::vector<int>& events) {
  norvane::testing::WriteMacroFiles(page->UserProfileFolder(), events);
}

}  // namespace norvane::devices::testing
