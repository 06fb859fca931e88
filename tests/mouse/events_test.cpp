// What the mouse reports by itself: profile and DPI stage switched with its own buttons, clicks for the
// reaction effect, requests to read it again; unknown reports change nothing.
#include <gtest/gtest.h>

#include <thread>

#include "mouse_fixture.h"
#include "profiles/json_file_util.h"

namespace norvane::devices::testing {
namespace {

using namespace std::chrono_literals;

class MouseEventsTest : public MouseTest {
 protected:
  void SetUp() override {
    OpenWired();
    ASSERT_EQ(page->ReadDeviceKeys(), 1);
    ASSERT_EQ(page->LoadProfile(), 1);
    view.Attach(*page, {.refreshPage = [this] { ++refreshes; }});
    ASSERT_EQ(page->OpenEventInterface(emulator_.PathOf(kMouseProduct, 0x000C), EventSide::kWired), 1);
  }
  // Plays the UI thread until a posted call arrived and ran.
  void RunPosted() {
    ASSERT_TRUE(poster.WaitForCall(2000));
    poster.RunAll();
  }

  int refreshes = 0;
};

TEST_F(MouseEventsTest, TheMousesProfileAndStageButtonsReachThePage) {
  ASSERT_TRUE(Emulator().InjectEvent(Mouse(), 0x1123));
  RunPosted();
  EXPECT_EQ(page->ActiveProfile(), 3);
  EXPECT_EQ(page->ActiveStage(), 2);
  EXPECT_EQ(refreshes, 1);

  // The mouse itself still uses profile 0: its DPI button changes that profile's stage.
  ASSERT_TRUE(Emulator().PressDpiButton(Mouse(), 4));
  RunPosted();
  EXPECT_EQ(page->ActiveProfile(), 0);
  EXPECT_EQ(page->ActiveStage(), 4);
  EXPECT_EQ(Memory(emulator::MemoryArea::kSettings, 12, 1), std::vector<uint8_t>{4});
  const Json::Value saved = JsonFileUtil().ReadJsonValue(page->CurrentProfileFile());
  EXPECT_EQ(saved["Device"][0]["DPIStages"]["StageActive"].asInt(), 4);

  ASSERT_TRUE(Emulator().PressProfileButton(Mouse(), 1));
  RunPosted();
  EXPECT_EQ(page->ActiveProfile(), 1);
  EXPECT_EQ(page->ActiveStage(), 4) << "a profile switch alone keeps the stage";
}

TEST_F(MouseEventsTest, AStageTheProfileDoesNotHaveAndUnknownCodesChangeNothing) {
  norvane::testing::WriteText(page->CurrentProfileFile(),
                              R"({"Device":[{"DPIStages":{"StageActive":0,"StageDPIs":[{"StageActive":1},{"StageActive":1}]}}]})");
  MakePage();
  OpenWired();
  ASSERT_EQ(page->LoadProfile(), 1);
  ASSERT_EQ(page->StageCount(), 2);
  view.Attach(*page, {.refreshPage = [this] { ++refreshes; }});
  ASSERT_EQ(page->OpenEventInterface(emulator_.PathOf(kMouseProduct, 0x000C), EventSide::kWired), 1);
  ASSERT_TRUE(Emulator().InjectEvent(Mouse(), 0x11F2));  // stage 15 of profile 2
  RunPosted();
  EXPECT_EQ(page->ActiveProfile(), 2);
  EXPECT_EQ(page->ActiveStage(), 0);

  for (const uint16_t code : {0x0404, 0x0500, 0x12FF, 0x2011, 0xFFFF}) ASSERT_TRUE(Emulator().InjectEvent(Mouse(), code));
  EXPECT_FALSE(poster.WaitForCall(200));
  EXPECT_EQ(page->ActiveProfile(), 2);
}

TEST_F(MouseEventsTest, AClickLightsTheReactionEffect) {
  lighting::LightParams params = page->GetLightParams();
  params.mode = lighting::mouse_mode::kReaction;
  params.speed = 4;
  params.brightness = 4;
  page->SetLightParams(params);
  const auto frame = [&] {
    for (int i = 0; i < 7; ++i) page->LightingTick(clock.Now());
  };
  frame();
  EXPECT_EQ(page->LedAt(3).level, 0);
  ASSERT_TRUE(Emulator().InjectEvent(Mouse(), 0x403));
  // The click goes from the sync thread straight to the lighting.
  bool lit = false;
  for (int i = 0; i < 400 && !lit; ++i) {
    std::this_thread::sleep_for(5ms);
    frame();
    lit = page->LedAt(3).level != 0;
  }
  EXPECT_TRUE(lit);
}

TEST_F(MouseEventsTest, ARequestToReadAgainReadsTheLiveSettings) {
  Emulator().ClearFrameLog();
  ASSERT_TRUE(Emulator().InjectEvent(Mouse(), 0x401));
  RunPosted();
  EXPECT_EQ(Requests(kReadSettings).size(), 3u) << "the active profile, then its record in two frames";
  EXPECT_EQ(refreshes, 1);
}

}  // namespace
}  // namespace norvane::devices::testing
