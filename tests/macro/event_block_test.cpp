// The event block macros and recoil patterns are written in, byte for byte.
#include "macro/event_block.h"

#include <gtest/gtest.h>

#include <vector>

namespace norvane::macro {
namespace {

TEST(EventBlockTest, RecordsFollowTheirOffsetTableInOrder) {
  const std::vector<EventRecord> records = {
      {{0x2C, 0x01, 0x8A, 0x06}, {0x2D, 0x01, 0x0A, 0x06}},
      {},  // an empty record keeps its place
      {{0x32, 0x00, 0x84, 0x14}},
  };
  const std::vector<uint8_t> expected = {
      0xAA, 0x55, 46,   0,    3,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // magic, total, count, zeros
      22,   0,    34,   0,    38,   0,                                    // offsets
      2,    0,    0,    0,    0x2C, 0x01, 0x8A, 0x06, 0x2D, 0x01, 0x0A, 0x06,  // two events
      0,    0,    0,    0,                                                     // none
      1,    0,    0,    0,    0x32, 0x00, 0x84, 0x14};                        // one event
  EXPECT_EQ(EventBlockSize(records), expected.size());
  EXPECT_EQ(BuildEventBlock(records), expected);
}

TEST(EventBlockTest, AnEmptyBlockIsItsHeaderAndSizesAboveAByteUseBoth) {
  const std::vector<uint8_t> header = {0xAA, 0x55, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(BuildEventBlock({}), header);
  const std::vector<EventRecord> records = {EventRecord(70, EventCode{1, 2, 3, 4})};
  const std::vector<uint8_t> block = BuildEventBlock(records);
  ASSERT_EQ(block.size(), 16u + 2 + 4 + 280);
  EXPECT_EQ(block[2], (302 & 0xFF));
  EXPECT_EQ(block[3], 302 >> 8);
  EXPECT_EQ(block[18], 70);
  EXPECT_EQ(block[19], 0);
  EXPECT_EQ((std::vector<uint8_t>(block.end() - 4, block.end())), (std::vector<uint8_t>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace norvane::macro
