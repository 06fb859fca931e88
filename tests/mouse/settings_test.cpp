// The live settings record: read at the active profile's place on either link into the page and the profile,
// and written as record 0 byte for byte from the profile.
#include <gtest/gtest.h>

#include "mouse_fixture.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::testing {
namespace {

using emulator::FaultKind;
using emulator::MemoryArea;

// A profile with values of its own in every section the record is written from.
constexpr const char* kProfile = R"({"Device":[{
  "LightInfo":{"SelectItem":5,"Light":3,"Speed":1,"Fx":1,"MultiColor":0,"Red":10,"Green":20,"Blue":30},
  "DPIStages":{"StageActive":2,"StageDPIs":[
    {"StageActive":1,"StageXY":0,"StageDPIX":4,"StageDPIY":4,"StageColorR":255,"StageColorG":0,"StageColorB":0},
    {"StageActive":0,"StageXY":1,"StageDPIX":9,"StageDPIY":12,"StageColorR":0,"StageColorG":255,"StageColorB":0},
    {"StageActive":1,"StageXY":0,"StageDPIX":49,"StageDPIY":49,"StageColorR":1,"StageColorG":2,"StageColorB":3}]},
  "SystemStages":{"DoubleClickTime":5,"MouseSpeed":10,"PointerPrecision":1,"ScorllPage":0,"WheelScorlllinse":3},
  "ReportStages":{"StageActive":4},
  "CorrectInfo":[{"CorrectPixThresh":0,"CorrectMinSq":0,"CorrectSelect":0,"CorrectName":"Off"},
                 {"CorrectPixThresh":8,"CorrectMinSq":2,"CorrectSelect":1,"CorrectName":"Light"},
                 {"CorrectPixThresh":16,"CorrectMinSq":4,"CorrectSelect":1,"CorrectName":"Strong"}]}],
  "profilename":"Test","profileUUID":"Profile1"})";

class MouseSettingsTest : public MouseTest {
 protected:
  void UseProfile(const char* text) {
    norvane::testing::WriteText(page->CurrentProfileFile(), text);
    ASSERT_EQ(page->LoadProfile(), 1);
  }
  std::vector<uint8_t> RecordAt(size_t profile) { return Memory(MemoryArea::kSettings, profile * 128, 71); }
  // The place and size of each settings request, in order.
  std::vector<std::pair<int, int>> SettingsReads() const {
    std::vector<std::pair<int, int>> reads;
    for (const auto& frame : Requests(kReadSettings)) reads.emplace_back(frame.bytes[5] | frame.bytes[6] << 8, frame.bytes[4]);
    return reads;
  }
  // The record of the profile above, as the record's table lays it out.
  static std::vector<uint8_t> ExpectedRecord() {
    return {
        0,                                                // the write's value
        5, 3, 4 - 1, 1, 0, 10, 20, 30,                    // lighting: mode 5's code, level, 4 − speed, ...
        0, 0, 4, 2, 0,                                    // report rate 4, active stage 2
        1, 0, 4, 0, 4, 0, 255, 0, 0,                      // stage 0
        0, 1, 9, 0, 12, 0, 0, 255, 0,                     // stage 1
        1, 0, 49, 0, 49, 0, 1, 2, 3,                      // stage 2
        0, 0, 0, 0, 0, 0, 0, 0, 0,                        // stages 3 and 4: the profile has none
        0, 0, 0, 0, 0, 0, 0, 0, 0,                        //
        1, 0x00, 0x0A, 0xA0, 0x05,                        // flag, 2560 × 1440
        2, 8,                                             // the first selected correction
        0, 0, 0, 0, 0};
  }
};

TEST_F(MouseSettingsTest, TheRecordIsWrittenAsRecordZeroFromTheProfile) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  UseProfile(kProfile);
  Emulator().ClearFrameLog();
  ASSERT_EQ(page->WriteSettings(0, 0), 1);
  EXPECT_EQ(RecordAt(0), ExpectedRecord());
  EXPECT_EQ(SentCodes(), (std::vector<uint8_t>{kBegin, kWriteSettings, kWriteSettings, kEnd}));
  const auto writes = Requests(kWriteSettings);
  EXPECT_EQ(writes[0].bytes[4], 56);
  EXPECT_EQ(writes[1].bytes[4], 15);
  EXPECT_EQ(writes[1].bytes[5], 56) << "the second frame continues at byte 56";
}

TEST_F(MouseSettingsTest, ThroughTheReceiverTheRecordGoesInFramesOf24AfterTheLinkIsAsked) {
  OpenReceiver();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  UseProfile(kProfile);
  Emulator().ClearFrameLog();
  ASSERT_EQ(page->WriteSettings(0, 0), 1);
  EXPECT_EQ(RecordAt(0), ExpectedRecord());
  EXPECT_EQ(SentCodes(),
            (std::vector<uint8_t>{kLinkQuery, kBegin, kWriteSettings, kWriteSettings, kWriteSettings, kEnd}));
  const auto writes = Requests(kWriteSettings);
  EXPECT_EQ(writes[2].bytes[4], 23);
  EXPECT_EQ(writes[2].bytes[5], 48);

  // Nothing goes while the mouse is out of the receiver's reach.
  Emulator().SetLinkUp(Receiver(), false);
  Emulator().ClearFrameLog();
  EXPECT_EQ(page->WriteSettings(0, 0), 0);
  EXPECT_EQ(SentCodes(), (std::vector<uint8_t>{kLinkQuery}));
}

TEST_F(MouseSettingsTest, ValuesOutsideTheirRangeAreWrittenAsTheDeviceCanTakeThem) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  UseProfile(R"({"Device":[{"LightInfo":{"SelectItem":12,"Light":9,"Speed":7},
      "DPIStages":{"StageActive":9,"StageDPIs":[{"StageActive":1,"StageDPIX":500,"StageDPIY":74}]},
      "SystemStages":{"MouseSpeed":10},"ReportStages":{"StageActive":7}}]})");
  ASSERT_EQ(page->WriteSettings(0, 0), 1);
  const std::vector<uint8_t> record = RecordAt(0);
  EXPECT_EQ(record[1], 0) << "a mode of 10 or more is mode 0";
  EXPECT_EQ(record[2], 4);
  EXPECT_EQ(record[3], 0) << "speed 7 counts as the fastest, 4";
  EXPECT_EQ(record[11], 0) << "report rate 7 is no rate: rate 0";
  EXPECT_EQ(record[12], 0) << "stage 9 is no stage: stage 0";
  EXPECT_EQ(record[16], 73) << "a position beyond the sensor is its highest";
  EXPECT_EQ(record[18], 73);
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + 23, record.begin() + 59), std::vector<uint8_t>(36, 0));
  // The profile on disk keeps what the user stored.
  const Json::Value saved = JsonFileUtil().ReadJsonValue(page->CurrentProfileFile());
  EXPECT_EQ(saved["Device"][0]["DPIStages"]["StageDPIs"][0]["StageDPIX"].asInt(), 500);
}

TEST_F(MouseSettingsTest, TheLiveRecordIsReadAtTheActiveProfilesPlaceOnBothLinks) {
  std::vector<uint8_t> record = ExpectedRecord();
  record[1] = 6;   // the reaction effect
  record[9] = 7;   // a byte the host keeps zero
  record[12] = 0;  // stage 0 active
  ASSERT_TRUE(Emulator().WriteMemory(Mouse(), MemoryArea::kSettings, 2 * 128, record));
  ASSERT_TRUE(Emulator().PressProfileButton(Mouse(), 2));

  for (const bool receiver : {false, true}) {
    SCOPED_TRACE(receiver ? "receiver" : "wired");
    MakePage();
    if (receiver) {
      OpenReceiver();
    } else {
      OpenWired();
    }
    ASSERT_EQ(page->ReadDeviceKeys(), 1);
    UseProfile(kProfile);
    Emulator().ClearFrameLog();
    ASSERT_EQ(page->ReadLiveSettings(), 1);
    const std::vector<std::pair<int, int>> expected =
        receiver ? std::vector<std::pair<int, int>>{{0, 1}, {256, 24}, {280, 24}, {304, 23}}
                 : std::vector<std::pair<int, int>>{{0, 1}, {256, 56}, {312, 15}};
    EXPECT_EQ(SettingsReads(), expected);
    EXPECT_EQ(page->ActiveProfile(), 2);
    EXPECT_EQ(page->LiveRecord()[9], 0);
    EXPECT_EQ(page->GetLightParams().mode, 6);
    EXPECT_EQ(page->GetLightParams().direction, 1) << "the direction stays the page's";
    EXPECT_EQ(page->ActiveStage(), 0);
    const Json::Value saved = JsonFileUtil().ReadJsonValue(page->CurrentProfileFile());
    EXPECT_EQ(saved["Device"][0]["DPIStages"]["StageActive"].asInt(), 0);
    EXPECT_EQ(saved["Device"][0]["LightInfo"]["SelectItem"].asInt(), 6);
  }
}

TEST_F(MouseSettingsTest, AFailedReadChangesNeitherPageNorProfile) {
  OpenWired();
  ASSERT_EQ(page->ReadDeviceKeys(), 1);
  UseProfile(kProfile);
  const std::string before = norvane::testing::ReadText(page->CurrentProfileFile());
  Emulator().AddFault(Mouse(), {.kind = FaultKind::kRefuse, .command = kReadSettings, .skip = 1});
  EXPECT_EQ(page->ReadLiveSettings(), protocol::kResultRefused);
  EXPECT_EQ(page->GetLightParams().mode, 5);
  EXPECT_EQ(page->ActiveStage(), 2);
  EXPECT_EQ(norvane::testing::ReadText(page->CurrentProfileFile()), before);
}

}  // namespace
}  // namespace norvane::devices::testing
