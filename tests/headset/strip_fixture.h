#pragma once
// A headset or mouse pad page against its emulated device, with its profile files in a private data folder,
// a manual clock, a queue standing in for the UI thread and, for the headset, the emulated audio chip.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/emulated_audio_chip.h"
#include "devices/headset/hs6533_device.h"
#include "devices/mousepad/mousepad_device.h"
#include "emulator/emulator.h"
#include "protocol/channel_opener.h"
#include "tests/support/callback_page_view.h"
#include "tests/support/emulator_fixture.h"
#include "tests/support/queue_poster.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::testing {

using namespace std::chrono_literals;

constexpr std::uint8_t kBegin = 0x01;
constexpr std::uint8_t kEnd = 0x02;
constexpr std::uint8_t kReadSettings = 0x05;
constexpr std::uint8_t kWriteSettings = 0x06;
constexpr std::uint8_t kReadStatus = 0x1A;

class StripPageTest : public ::testing::Test {
 protected:
  explicit StripPageTest(emulator::DeviceModel model)
      : data_home_("XDG_DATA_HOME", root_.path().c_str()), emulator_({model}), model_(model) {}

  // Sets the page up as the page builder does, opens its command interface and attaches the test's view.
  template <class Page>
  Page& MakePage(std::string folder, std::string skin, int leds, int variant) {
    auto page = std::make_unique<Page>(PageServices{.clock = &clock, .poster = &poster});
    page->SetSkinFile(std::move(skin));
    page->SetLedCount(leds);
    page->SetProfileStem("Profile1");
    page->SetDeviceFolder(std::move(folder));
    page->SetVariantIndex(variant);
    page->SetLightListStem("vexor_light");
    page->CommandChannel().SetTimeLimits(250ms, 250ms);
    Page& made = *page;
    page_ = std::move(page);
    return made;
  }
  void Open(hid::DeviceKind kind) {
    ASSERT_EQ(protocol::OpenCommandInterface(page_->CommandChannel(), emulator_.CommandPath(kind), protocol::LinkType::kWired),
              hid::OpenError::kNone);
  }
  emulator::EmulatorBackend& Emulator() { return emulator_.Backend(); }
  emulator::DeviceId Device() const { return emulator_.Device(model_); }
  std::vector<emulator::LoggedFrame> Requests(std::uint8_t code) {
    std::vector<emulator::LoggedFrame> frames;
    for (const auto& frame : Emulator().FrameLog()) {
      if (frame.direction == emulator::FrameDirection::kToDevice && frame.bytes[3] == code) frames.push_back(frame);
    }
    return frames;
  }
  std::vector<std::uint8_t> Settings(std::size_t offset, std::size_t length) {
    return Emulator().ReadMemory(Device(), emulator::MemoryArea::kSettings, offset, length);
  }
  void PutSettings(std::size_t offset, const std::vector<std::uint8_t>& bytes) {
    ASSERT_TRUE(Emulator().WriteMemory(Device(), emulator::MemoryArea::kSettings, offset, bytes));
  }
  static std::uint16_t Offset(const emulator::LoggedFrame& frame) {
    return static_cast<std::uint16_t>(frame.bytes[5] | frame.bytes[6] << 8);
  }

  ~StripPageTest() override { page_.reset(); }  // its threads stop before the emulator goes

  norvane::testing::TempFolder root_;
  norvane::testing::ScopedEnv data_home_;
  QueuePoster poster;
  ManualClock clock;
  norvane::testing::ScopedEmulator emulator_;
  norvane::testing::ScopedDefaultData default_data_;
  emulator::DeviceModel model_;
  norvane::testing::CallbackPageView view;
  std::unique_ptr<CNorvaneUSBDevice> page_;
};

}  // namespace norvane::devices::testing
