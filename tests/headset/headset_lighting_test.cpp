// The headset's LEDs as the emulated headset receives them: twelve output reports a frame, byte for byte in
// their order; only changed reports again, everything once a second and after the lighting came back.
#include <gtest/gtest.h>

#include "devices/headset/light_sender.h"
#include "headset_fixture.h"

namespace norvane::devices::testing {
namespace {

using Report = std::vector<std::uint8_t>;

Report Expected(std::uint8_t zone, std::uint8_t kind, std::vector<std::uint8_t> values) {
  Report report{0xFF, zone, kind, 0};
  report.insert(report.end(), values.begin(), values.end());
  report.resize(17, 0);
  return report;
}

class HeadsetLightingTest : public HeadsetTest {
 protected:
  void SetUp() override {
    HeadsetTest::SetUp();
    // LED i: red 18 (i + 1) and green 2 (i + 1) at half level, so the reports carry 9 (i + 1) and i + 1; LED 0
    // is also fully blue at full level, which the headset gets as 247.
    for (std::size_t i = 0; i < 13; ++i) {
      const auto n = static_cast<std::uint8_t>(i + 1);
      Headset().SetLedRecord(i, {static_cast<std::uint8_t>(18 * n), static_cast<std::uint8_t>(2 * n), 0, 128, 0});
    }
    Headset().SetLedRecord(0, {18, 2, 255, 255, 0});
  }
  std::vector<Report> Present() {
    Emulator().ClearOutputReports(Device());
    Headset().PresentFrame();
    Headset().WaitForLightReports();
    return Emulator().OutputReports(Device());
  }
};

TEST_F(HeadsetLightingTest, AFrameIsTwelveReportsRedThenGreenThenBlueEachForZone22ThenZone44) {
  // LED 0 at full level: 18 × 255 ÷ 256 = 17 and 2 × 255 ÷ 256 = 1.
  const std::vector<std::uint8_t> redFirst{17, 18, 27, 36, 45, 54, 63}, redSecond{72, 81, 90, 99, 108, 117};
  const std::vector<std::uint8_t> greenFirst{1, 2, 3, 4, 5, 6, 7}, greenSecond{8, 9, 10, 11, 12, 13};
  const std::vector<std::uint8_t> blueFirst{247}, blueSecond{};
  const std::vector<Report> expected = {
      Expected(0x22, 0xAA, redFirst),   Expected(0x22, 0xAD, redSecond),   Expected(0x44, 0xAA, redFirst),
      Expected(0x44, 0xAD, redSecond),  Expected(0x22, 0xAB, greenFirst),  Expected(0x22, 0xAE, greenSecond),
      Expected(0x44, 0xAB, greenFirst), Expected(0x44, 0xAE, greenSecond), Expected(0x22, 0xAC, blueFirst),
      Expected(0x22, 0xAF, blueSecond), Expected(0x44, 0xAC, blueFirst),   Expected(0x44, 0xAF, blueSecond),
  };
  EXPECT_EQ(Present(), expected);
  EXPECT_EQ(Emulator().ReadMemory(Device(), emulator::MemoryArea::kLightStream, 0, 7), redFirst)
      << "the headset took them";
}

TEST_F(HeadsetLightingTest, AFrameThatStaysCostsNothingButIsResentWholeOnceASecond) {
  ASSERT_EQ(Present().size(), 12u);
  for (int i = 0; i < 50; ++i) {
    clock.Advance(std::chrono::milliseconds(10));
    EXPECT_TRUE(Present().empty());
  }
  clock.Advance(std::chrono::milliseconds(500));
  EXPECT_EQ(Present().size(), 12u) << "a second after the last whole frame";
  EXPECT_TRUE(Present().empty());
}

TEST_F(HeadsetLightingTest, OnlyTheReportsOfWhatChangedGoOut) {
  ASSERT_EQ(Present().size(), 12u);
  Headset().SetLedRecord(8, {162, 18, 100, 128, 0});  // blue of an LED of the second half
  const std::vector<Report> sent = Present();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], Expected(0x22, 0xAF, {0, 50}));
  EXPECT_EQ(sent[1], Expected(0x44, 0xAF, {0, 50}));
}

TEST_F(HeadsetLightingTest, LightingTakenBackByTheProgramIsSentWholeAndNothingGoesOutMeanwhile) {
  ASSERT_EQ(Present().size(), 12u);
  Headset().SetLightControl(false);
  Headset().SetLedRecord(8, {0, 0, 0, 0, 0});
  EXPECT_TRUE(Present().empty());
  Headset().SetLightControl(true);
  EXPECT_EQ(Present().size(), 12u);
}

TEST(LightReportSender, AReportTheHeadsetDidNotTakeSendsTheNextFrameWhole) {
  int calls = 0;
  int failAt = 3;
  headset::LightReportSender sender([&](std::span<const std::uint8_t>) { return ++calls != failAt; });
  ManualClock clock;
  headset::LightReports reports = headset::BuildLightReports({});
  ASSERT_TRUE(sender.Present(reports, clock.Now()));
  sender.WaitIdle();
  EXPECT_EQ(calls, 3) << "stopped at the failure";
  EXPECT_EQ(sender.ReportsSent(), 2u);
  calls = 0;
  failAt = -1;
  clock.Advance(std::chrono::milliseconds(10));
  ASSERT_TRUE(sender.Present(reports, clock.Now())) << "the same frame, yet the headset may have lost it";
  sender.WaitIdle();
  EXPECT_EQ(calls, 12);
}

}  // namespace
}  // namespace norvane::devices::testing
