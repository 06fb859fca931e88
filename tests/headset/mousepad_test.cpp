// The mouse pad page against the emulated pad: its lighting record's two addresses, the bytes it writes,
// the charging pad's status, and following the pad's own changes.
#include <gtest/gtest.h>

#include "profiles/json_file_util.h"
#include "protocol/command_codes.h"
#include "strip_fixture.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::FaultRule;

constexpr uint16_t kPadProduct = 0x1004;
constexpr uint16_t kConsumerPage = 0x000C;
constexpr int kPadVariant = 2;  // the pad's row of the light lists

class MousePadTest : public StripPageTest {
 protected:
  MousePadTest() : StripPageTest(emulator::DeviceModel::kMousePad) {}
  void SetUp() override {
    MakePage<CNorvaneMousePadDevice>("MousePad", "XML\\DeviceXml\\mousepaddevice.xml", 15, kPadVariant);
    Open(hid::DeviceKind::kMousePad);
    view.Attach(Pad(), {.showWirelessStatus = [this](std::span<const std::uint8_t> s) { status.assign(s.begin(), s.end()); },
                        .showSyncResult = [this](SyncResult r) { syncs.push_back(r); }});
  }
  CNorvaneMousePadDevice& Pad() { return *dynamic_cast<CNorvaneMousePadDevice*>(page_.get()); }

  std::vector<std::uint8_t> status;
  std::vector<SyncResult> syncs;
};

TEST_F(MousePadTest, TheRecordOfProfileTwoIsReadFrom62AndWrittenAt128) {
  PutSettings(0, {2});
  // The firmware's own bytes of that live read (record bytes 9 to 20 at 62 + 9).
  PutSettings(71, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC});
  ASSERT_EQ(Pad().ReadLiveRecord(), 1);
  const auto reads = Requests(kReadSettings);
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(Offset(reads[0]), 0);
  EXPECT_EQ(reads[0].bytes[4], 1) << "the number of the profile in use";
  EXPECT_EQ(Offset(reads[1]), 62);
  EXPECT_EQ(reads[1].bytes[4], 31);

  Pad().SetLightParams({.mode = 6, .brightness = 3, .speed = 1, .direction = 1, .multiColour = 0,
                        .red = 10, .green = 20, .blue = 30});
  Emulator().ClearFrameLog();
  EXPECT_EQ(Pad().WriteSettings(2, 0), 1);
  const auto writes = Requests(kWriteSettings);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(Offset(writes[0]), 128);
  EXPECT_EQ(writes[0].bytes[4], 21);
  // The profile in use as read live, mode code, brightness, 4 − speed, direction, multi-colour, colour,
  // then the firmware's bytes as they were read.
  EXPECT_EQ(Settings(128, 21), (std::vector<std::uint8_t>{2, 6, 3, 3, 1, 0, 10, 20, 30, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5,
                                                          0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC}));
  EXPECT_EQ(Requests(kBegin).size(), 1u);
  EXPECT_EQ(Requests(kEnd).size(), 1u);
}

TEST_F(MousePadTest, AFailedLiveReadIsReadAgainBeforeAWriteAndNothingIsWrittenWithoutIt) {
  PutSettings(9, {0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C});
  Emulator().AddFault(Device(), FaultRule{.kind = FaultKind::kRefuse, .command = kReadSettings});
  EXPECT_NE(Pad().ReadLiveRecord(), 1);
  EXPECT_FALSE(Pad().HasLiveRecord());

  // The write reads the record again and sends the firmware's bytes, not zeros.
  EXPECT_EQ(Pad().WriteSettings(0, 0), 1);
  EXPECT_EQ(Settings(9, 12),
            (std::vector<std::uint8_t>{0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C}));

  // A pad that refuses every read gets nothing written over its record.
  CNorvaneMousePadDevice& fresh = MakePage<CNorvaneMousePadDevice>("MousePad", "XML\\DeviceXml\\mousepaddevice.xml", 15, kPadVariant);
  Open(hid::DeviceKind::kMousePad);
  Emulator().AddFault(Device(), FaultRule{.kind = FaultKind::kRefuse, .command = kReadSettings, .times = 0});
  Emulator().ClearFrameLog();
  EXPECT_EQ(fresh.WriteSettings(0, 0), protocol::kResultRefused);
  EXPECT_TRUE(Requests(kWriteSettings).empty());
  EXPECT_TRUE(Requests(kBegin).empty());
}

TEST_F(MousePadTest, TheChargingPadShowsItsStatusAndAPadWithoutOneDoesNot) {
  Pad().InitialSync();
  EXPECT_TRUE(Pad().IsChargingPad());
  EXPECT_TRUE(Pad().HasDeviceInfo());
  EXPECT_EQ(syncs, (std::vector<SyncResult>{SyncResult::kDone}));
  // As the charging pad leaves the factory: full, charged, wired, no phone on it.
  EXPECT_EQ(status, (std::vector<std::uint8_t>{100, 2, 0, 0, 0, 0}));

  CNorvaneMousePadDevice& plain = MakePage<CNorvaneMousePadDevice>("MousePad", "XML\\DeviceXml\\mousepaddevice.xml", 15, kPadVariant);
  Open(hid::DeviceKind::kMousePad);
  status.clear();
  view.Attach(plain, {.showWirelessStatus = [this](std::span<const std::uint8_t> s) { status.assign(s.begin(), s.end()); }});
  Emulator().AddFault(Device(), FaultRule{.kind = FaultKind::kRefuse, .command = kReadStatus, .times = 0});
  plain.InitialSync();
  EXPECT_FALSE(plain.IsChargingPad());
  EXPECT_TRUE(status.empty());
}

TEST_F(MousePadTest, APadClosedBeforeItsFirstSyncWorksFromItsProfile) {
  protocol::CloseCommandInterfaces(Pad().CommandChannel());
  Pad().InitialSync();
  EXPECT_EQ(syncs, (std::vector<SyncResult>{SyncResult::kNotConnected}));
  EXPECT_FALSE(Pad().IsChargingPad());
  // The shipped profile of the pad: wave, full brightness, speed 2, multi-colour.
  EXPECT_EQ(Pad().GetLightParams().brightness, 4);
  EXPECT_EQ(Pad().GetLightParams().multiColour, 1);
  EXPECT_EQ(Pad().WriteSettings(0, 0), protocol::kResultNoReply);
}

TEST_F(MousePadTest, AChangeThePadReportsIsTakenHalfASecondLaterIntoThePageAndItsProfile) {
  Pad().InitialSync();
  ASSERT_EQ(Pad().OpenEventInterface(emulator_.PathOf(kPadProduct, kConsumerPage), EventSide::kWired), 1);
  // The pad now shows static blue at brightness 2, speed byte 1 (level 3), reversed.
  PutSettings(0, {0, 3, 2, 1, 1, 0, 0, 0, 255});
  poster.RunAll();
  ASSERT_TRUE(Emulator().InjectEvent(Device(), 0x0401));
  EXPECT_FALSE(poster.WaitForCall(250)) << "the resync waits half a second";
  ASSERT_TRUE(poster.WaitForCall(5000));
  poster.RunAll();
  const lighting::LightParams light = Pad().GetLightParams();
  EXPECT_EQ(light.mode, 3);
  EXPECT_EQ(light.brightness, 2);
  EXPECT_EQ(light.speed, 3);
  EXPECT_EQ(light.direction, 1);
  EXPECT_EQ(light.blue, 255);
  const Json::Value saved = JsonFileUtil().ReadJsonValue(Pad().CurrentProfileFile())["Device"][0]["LightInfo"];
  EXPECT_EQ(saved["SelectItem"].asInt(), 3);
  EXPECT_EQ(saved["Speed"].asInt(), 3);
}

}  // namespace
}  // namespace norvane::devices::testing
