#include "mouse_fixture.h"

#include <algorithm>
#include <chrono>

#include "tests/support/macro_files.h"
#include "protocol/channel_opener.h"

namespace norvane::devices::testing {

using namespace std::chrono_literals;

MouseTest::MouseTest() : data_home_("XDG_DATA_HOME", root_.path().c_str()) {
  mouse_ = emulator_.Device(emulator::DeviceModel::kMouse);
  receiver_ = emulator_.Device(emulator::DeviceModel::kMouseReceiver);
  MakePage();
}

void MouseTest::MakePage() {
  page = std::make_unique<CNorvaneMouseDevice>(PageServices{.clock = &clock, .poster = &poster});
  page->SetSkinFile("XML\\DeviceXml\\mousedevice.xml");
  page->SetKeyCount(11);
  page->SetLedCount(15);
  page->SetWirelessCapable(true);
  page->SetProfileStem("Profile1");
  page->SetDeviceFolder("mouse");
  page->SetVariantIndex(1);
  page->SetLightListStem("vexor_light");
  page->SetScreenSize(2560, 1440);
  // Short enough for quick fault tests, long enough for a loaded machine.
  page->CommandChannel().SetTimeLimits(250ms, 250ms);
  view.Attach(*page, {.showMessage = [this](const DeviceMessage& message) { messages.push_back(message); }});
}

MouseTest::~MouseTest() {
  page.reset();  // its threads stop before the emulator and the default data go
}

void MouseTest::OpenWired() {
  ASSERT_EQ(protocol::OpenCommandInterface(page->CommandChannel(), PathOf(kMouseProduct), protocol::LinkType::kWired),
            hid::OpenError::kNone);
}

void MouseTest::OpenReceiver() {
  ASSERT_EQ(protocol::OpenCommandInterface(page->CommandChannel(), PathOf(kReceiverProduct),
                                           protocol::LinkType::kReceiver),
            hid::OpenError::kNone);
}

std::vector<emulator::LoggedFrame> MouseTest::Requests(uint8_t code) const {
  std::vector<emulator::LoggedFrame> frames;
  for (const auto& frame : emulator_.Backend().FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == code) frames.push_back(frame);
  }
  return frames;
}

std::vector<uint8_t> MouseTest::SentCodes() const {
  std::vector<uint8_t> codes;
  for (const auto& frame : emulator_.Backend().FrameLog()) {
    if (frame.direction == emulator::FrameDirection::kToDevice) codes.push_back(frame.bytes[3]);
  }
  return codes;
}

std::vector<uint8_t> MouseTest::Memory(emulator::MemoryArea area, size_t offset, size_t length) const {
  return emulator_.Backend().ReadMemory(mouse_, area, offset, length);
}

int MouseTest::PositionOf(const Code& code) const {
  const std::vector<uint8_t> table = Memory(emulator::MemoryArea::kKeyTable, 0, 512);
  for (size_t at = 0; at + 3 <= table.size(); at += 3) {
    if (std::equal(code.begin(), code.end(), table.begin() + static_cast<std::ptrdiff_t>(at)))
      return static_cast<int>(at / 3);
  }
  return -1;
}

void MouseTest::WriteMacros(const std::vector<int>& events) {
  norvane::testing::WriteMacroFiles(page->UserProfileFolder(), events);
}

}  // namespace norvane::devices::testing
