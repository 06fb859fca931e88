// Gun files and the recoil block on their own: each bullet's six events as the editor writes and shows them,
// the 4-byte form the mouse plays, and the block of four guns, with damaged or oversized files.
#include <gtest/gtest.h>

#include "devices/mouse/recoil.h"
#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"

namespace norvane::devices::mouse {
namespace {

Json::Value Event(const char* action, int button, int delay, int type) {
  Json::Value event;
  event["Action"] = action;
  event["Button"] = button;
  event["Delay"] = delay;
  event["Type"] = type;
  return event;
}

// A gun file of `bullets` bullets, each pulling down 4 with delay 60.
Json::Value Gun(int bullets) {
  Json::Value document;
  document["Events"] = Json::Value(Json::arrayValue);
  for (int b = 0; b < bullets; ++b) WriteBullet(document, b, {.x = 1, .y = 4, .delay = 60});
  return document;
}

TEST(GunFiles, ABulletIsSavedAsItsSixEventsWithIntegerButtonsAndDelays) {
  Json::Value document = Gun(3);
  document["Name"] = "kept";
  WriteBullet(document, 2, {.left = true, .up = false, .x = 3, .y = 12, .delay = 95});
  const Json::Value& events = document["Events"];
  EXPECT_EQ(events[12], Event("down", 1, 10, 1));
  EXPECT_EQ(events[13], Event("up", 1, 0, 1));
  EXPECT_EQ(events[14], Event("down", 3, 5, 4));
  EXPECT_EQ(events[15], Event("up", 12, 95, 5));
  EXPECT_EQ(events[16], Event("down", 0, 0, 4));
  EXPECT_EQ(events[17], Event("up", 0, 0, 5));
  EXPECT_TRUE(events[15]["Delay"].isInt());
  EXPECT_EQ(events[11], Event("up", 0, 0, 5)) << "bullet 1 as it was";
  EXPECT_EQ(document["Name"].asString(), "kept");
  EXPECT_EQ(ReadBullet(document, 2), (Bullet{.left = true, .up = false, .x = 3, .y = 12, .delay = 95}));
  // A distance of 300 is stored as typed.
  WriteBullet(document, 0, {.up = true, .x = 300, .y = 2, .delay = 70000});
  EXPECT_EQ(document["Events"][2]["Button"].asInt(), 300);
  EXPECT_EQ(ReadBullet(document, 0), (Bullet{.left = false, .up = true, .x = 300, .y = 2, .delay = 70000}));
}

TEST(GunFiles, DocumentsOfTheWrongShapeAreReadAsNothingAndStartAfreshWhenSaved) {
  for (const char* text : {"[1, 2]", "7", R"({"Events": {"0": 1}})", R"({"Events": "none"})"}) {
    Json::Value document = JsonFileUtil::ParseJson(text);
    EXPECT_EQ(ReadBullet(document, 0), Bullet{}) << text;
    WriteBullet(document, 1, {.x = 5, .y = 6, .delay = 7});
    ASSERT_TRUE(document.isObject()) << text;
    ASSERT_EQ(document["Events"].size(), 12u) << text;
    EXPECT_TRUE(document["Events"][5].isNull()) << "the events before the bullet's are null";
    EXPECT_EQ(ReadBullet(document, 1).y, 6) << text;
  }
  // Directions compare without regard to case when shown; numbers may be decimal text, as in macro files.
  const Json::Value shown = JsonFileUtil::ParseJson(
      R"({"Events": [{}, {}, {"Action": "DOWN", "Button": "17"}, {"Action": "Down", "Button": 2, "Delay": "45"}]})");
  EXPECT_EQ(ReadBullet(shown, 0), (Bullet{.left = true, .up = true, .x = 17, .y = 2, .delay = 45}));
  EXPECT_EQ(ReadBullet(shown, 1), Bullet{}) << "events a file lacks read as a move right or down of 0";
}

TEST(GunFiles, TheMouseGetsTheLowBitsOfDistancesAndDelaysAndOnlyAnExactDownIsDown) {
  norvane::testing::TempFolder folder;
  Json::Value document = Gun(1);
  WriteBullet(document, 0, {.left = true, .x = 300, .y = 2, .delay = 70000});
  document["Events"][4]["Action"] = "DOWN";
  document["Events"][5]["Button"] = "9";
  ASSERT_TRUE(JsonFileUtil().WriteJsonValue(GunFile(folder.path(), 0), document));
  const std::vector<macro::EventCode> codes = ReadGunEvents(GunFile(folder.path(), 0));
  ASSERT_EQ(codes.size(), 6u);
  EXPECT_EQ(codes[0], (macro::EventCode{10, 0, 0x81, 1}));
  EXPECT_EQ(codes[2], (macro::EventCode{5, 0, 0x84, 0x2C})) << "300 reaches the mouse as 44";
  EXPECT_EQ(codes[3], (macro::EventCode{0x70, 0x11, 0x05, 2})) << "70000 reaches it as 4464";
  EXPECT_EQ(codes[4], (macro::EventCode{0, 0, 0x04, 0})) << "\"DOWN\" is not down on the mouse";
  EXPECT_EQ(codes[5][3], 9);

  for (const char* text : {"not json", R"({"Events": 5})", "null"}) {
    norvane::testing::WriteText(GunFile(folder.path(), 1), text);
    EXPECT_TRUE(ReadGunEvents(GunFile(folder.path(), 1)).empty()) << text;
  }
  EXPECT_TRUE(ReadGunEvents(GunFile(folder.path(), 3)).empty()) << "no file";
  EXPECT_EQ(GunFile(folder.path(), 2).filename(), "ShootData_2.Shoot");
}

TEST(RecoilBlock, FourFullGunsMakeABlockOf2920BytesAndAGunWithoutEventsAFourByteRecord) {
  const std::vector<macro::EventRecord> full(4, macro::EventRecord(180, macro::EventCode{1, 2, 3, 4}));
  const std::optional<std::vector<std::uint8_t>> block = BuildRecoilBlock(full);
  ASSERT_TRUE(block);
  ASSERT_EQ(block->size(), 2920u);
  EXPECT_EQ(std::vector<std::uint8_t>(block->begin(), block->begin() + 24),
            (std::vector<std::uint8_t>{0xAA, 0x55, 0x68, 0x0B, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 2920 = 0x0B68
                                       24, 0, 0xEC, 0x02, 0xC0, 0x05, 0x94, 0x08}));  // 24, 748, 1472, 2196
  EXPECT_EQ(std::vector<std::uint8_t>(block->begin() + 748, block->begin() + 756),
            (std::vector<std::uint8_t>{180, 0, 0, 0, 1, 2, 3, 4}));

  std::vector<macro::EventRecord> oneMissing = full;
  oneMissing[1].clear();
  const auto shorter = BuildRecoilBlock(oneMissing);
  ASSERT_TRUE(shorter);
  EXPECT_EQ(shorter->size(), 2920u - 720u);
  EXPECT_EQ((*shorter)[18] | (*shorter)[19] << 8, 748) << "gun 1's record";
  EXPECT_EQ((*shorter)[20] | (*shorter)[21] << 8, 752) << "gun 1 takes four bytes";

  // Events beyond what a 16-bit size can count: no block rather than one whose size wrapped.
  std::vector<macro::EventRecord> huge(4, macro::EventRecord(4100, macro::EventCode{}));
  EXPECT_FALSE(BuildRecoilBlock(huge));
  huge[3].resize(4100 - 27);
  EXPECT_TRUE(BuildRecoilBlock(huge)) << "40 + 4 × 16373 = 65532 still fits";
}

}  // namespace
}  // namespace norvane::devices::mouse
