// The live settings record: reading it into the page and the profile, writing it back byte for byte.
#include <gtest/gtest.h>

#include "devices/keyboard/settings_record.h"
#include "keyboard_fixture.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;
using keyboard::SettingsRecord;

constexpr uint8_t kReadSettings = 0x05;
constexpr uint8_t kWriteSettings = 0x06;
constexpr uint8_t kEnd = 0x02;

class KeyboardSettingsTest : public KeyboardTest {
 protected:
  void PutRecord(size_t profile, const SettingsRecord& record) {
    ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kSettings, profile * 31, record));
  }
  SettingsRecord RecordAt(size_t profile) {
    SettingsRecord record{};
    const auto bytes = Memory(MemoryArea::kSettings, profile * 31, 31);
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return record;
  }
  static SettingsRecord Sample() {
    SettingsRecord r{};
    for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(0x80 + i);  // device-owned filler
    r[0] = 0;   // in record 0: the active profile
    r[1] = 9;   // mode code
    r[2] = 3;   // brightness
    r[3] = 1;   // speed 3
    r[4] = 1;   // direction
    r[5] = 0;   // single colour
    r[6] = 10;  // red
    r[7] = 20;  // green
    r[8] = 30;  // blue
    r[18] = 2;  // preset colour
    r[19] = 1;  // W flag
    r[20] = 0;  // six-key
    r[21] = 1;  // Windows-key lock
    r[22] = 3;  // polling rate
    r[25] = 4;  // custom group
    return r;
  }
};

TEST_F(KeyboardSettingsTest, ReadingTakesTheActiveProfilesRecordIntoPageAndProfile) {
  OpenWired();
  page->LoadProfile();
  const lighting::Rgb profileColour = page->GetLightParams().Colour();
  PutRecord(2, Sample());
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kSettings, 0, std::vector<uint8_t>{2}));

  EXPECT_EQ(page->ReadLiveSettings(), 2);
  EXPECT_EQ(page->LastLiveReadResult(), 1);
  EXPECT_EQ(page->LiveRecord()[16], 0) << "byte 16 is kept as zero";
  EXPECT_EQ(page->LiveRecord()[17], Sample()[17]);
  const lighting::LightParams params = page->GetLightParams();
  EXPECT_EQ(params.mode, 9);
  EXPECT_EQ(page->LiveMode(), 9);
  EXPECT_EQ(params.brightness, 3);
  EXPECT_EQ(params.speed, 3);
  EXPECT_EQ(params.direction, 1);
  EXPECT_EQ(params.presetColour, 2);
  EXPECT_EQ(params.customGroup, 4);
  EXPECT_EQ(params.Colour(), profileColour) << "the fixed colour stays the profile's";
  EXPECT_EQ(page->SystemSettings().w_flag, 1);
  EXPECT_EQ(page->SystemSettings().win_flag, 1);

  // A fresh page loading the saved profile sees what was read.
  CNorvaneKeyboardDevice reloaded;
  reloaded.SetDeviceFolder("keyboard");
  reloaded.SetProfileStem("Profile1");
  ASSERT_EQ(reloaded.LoadProfile(), 1);
  EXPECT_EQ(reloaded.GetLightParams().mode, 9);
  EXPECT_EQ(reloaded.SystemSettings().win_flag, 1);
}

TEST_F(KeyboardSettingsTest, TheStreamedModeCodeKeepsThePagesMode) {
  OpenWired();
  page->SetLightParams({.mode = 30, .brightness = 4});
  SettingsRecord record = Sample();
  record[1] = keyboard::kStreamedModeCode;
  PutRecord(0, record);
  page->ReadLiveSettings();
  EXPECT_EQ(page->GetLightParams().mode, 30);
  EXPECT_EQ(page->LiveMode(), 30);
}

TEST_F(KeyboardSettingsTest, WritingRebuildsTheRecordAroundTheDevicesOwnBytes) {
  OpenWired();
  page->LoadProfile();
  PutRecord(0, Sample());
  page->ReadLiveSettings();
  page->SetLightParams({.mode = 29,
                        .brightness = 2,
                        .speed = 4,
                        .direction = 0,
                        .multiColour = 1,
                        .red = 1,
                        .green = 2,
                        .blue = 3,
                        .presetColour = 1,
                        .customGroup = 7});
  page->SetSystemSettings(
      {.repeat = 31, .repeat_delay = 2, .key6_flag = 1, .polling_rate = 2, .w_flag = 0, .win_flag = 1});
  ASSERT_EQ(page->WriteSettings(1, 0), 1);

  SettingsRecord expected = Sample();
  expected[0] = 0;
  expected[1] = 0xFE;
  expected[2] = 2;
  expected[3] = 0;
  expected[4] = 0;
  expected[5] = 1;
  expected[6] = 1;
  expected[7] = 2;
  expected[8] = 3;
  expected[16] = 0;
  expected[18] = 1;
  expected[19] = 0;
  expected[20] = 1;
  expected[21] = 1;
  expected[22] = 2;
  expected[25] = 7;
  EXPECT_EQ(RecordAt(1), expected);
  EXPECT_EQ(Requests(kWriteSettings).size(), 1u);
  EXPECT_EQ(Requests(kWriteSettings)[0].bytes[5], 31) << "profile 1 starts at 31";

  page->SetLightParams({.mode = 5, .brightness = 9, .speed = 9});
  ASSERT_EQ(page->WriteSettings(0, 0), 1);
  EXPECT_EQ(RecordAt(0)[1], 5);
  EXPECT_EQ(RecordAt(0)[2], 4) << "levels above 4 are written as 4";
  EXPECT_EQ(RecordAt(0)[3], 0) << "and the speed byte does not wrap";
}

TEST_F(KeyboardSettingsTest, ThroughTheReceiverTheRecordTravelsInTwoFrames) {
  OpenReceiver();
  ASSERT_EQ(page->WriteSettings(0, 0), 1);
  const auto frames = Requests(kWriteSettings);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].bytes[4], 24);
  EXPECT_EQ(frames[1].bytes[4], 7);
}

// A keyboard that refuses, stays silent or is reached through a receiver whose link is down: the page,
// the cached record and the profile file stay as they were.
TEST_F(KeyboardSettingsTest, AFailedReadChangesNothingAndReturnsTheLastProfileNumber) {
  OpenWired();
  page->LoadProfile();
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kSettings, 0, std::vector<uint8_t>{1}));
  ASSERT_EQ(page->ReadLiveSettings(), 1);
  const SettingsRecord record = page->LiveRecord();
  const lighting::LightParams params = page->GetLightParams();
  const std::string file = norvane::testing::ReadText(ProfileFile());
  PutRecord(2, Sample());
  ASSERT_TRUE(Emulator().WriteMemory(Keyboard(), MemoryArea::kSettings, 0, std::vector<uint8_t>{2}));

  for (const auto& [kind, skip, expected] :
       {std::tuple{FaultKind::kRefuse, 1, -102}, std::tuple{FaultKind::kRefuseAlt, 0, -103},
        std::tuple{FaultKind::kNoReply, 1, 0}}) {
    Emulator().ClearFaults(Keyboard());
    Emulator().AddFault(Keyboard(), {.kind = kind, .command = kReadSettings, .skip = skip});
    EXPECT_EQ(page->ReadLiveSettings(), 1);
    EXPECT_EQ(page->LastLiveReadResult(), expected);
    EXPECT_EQ(page->LiveRecord(), record);
    EXPECT_EQ(page->GetLightParams().brightness, params.brightness);
    EXPECT_EQ(norvane::testing::ReadText(ProfileFile()), file);
  }
}

TEST_F(KeyboardSettingsTest, AFailedWriteReturnsTheRefusalAndStillEndsTheSeries) {
  OpenWired();
  page->ReadLiveSettings();
  Emulator().AddFault(Keyboard(), {.kind = FaultKind::kRefuse, .command = kWriteSettings});
  Emulator().ClearFrameLog();
  EXPECT_EQ(page->WriteSettings(0, 0), -102);
  EXPECT_EQ(Requests(kEnd).size(), 1u);
  EXPECT_FALSE(Emulator().Counters(Keyboard()).session_open);

  page->CommandChannel().SetOpen(false);
  EXPECT_EQ(page->WriteSettings(0, 0), 0);
}

TEST_F(KeyboardSettingsTest, ALinkDownOrAnUnpluggedKeyboardIsReportedAsFailure) {
  OpenReceiver();
  Emulator().SetLinkUp(Receiver(), false);
  EXPECT_EQ(page->WriteSettings(0, 0), -101);
  page->ReadLiveSettings();
  EXPECT_EQ(page->LastLiveReadResult(), -101);

  Emulator().SetLinkUp(Receiver(), true);
  Emulator().Unplug(Receiver());
  EXPECT_NE(page->WriteSettings(0, 0), 1);
}

}  // namespace
}  // namespace norvane::devices::testing
