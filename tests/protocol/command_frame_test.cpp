#include "protocol/command_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace norvane::protocol {
namespace {

TEST(CommandFrameTest, RequestLaysOutHeaderPayloadAndChecksum) {
  const std::array<uint8_t, 3> payload = {0x10, 0x20, 0x30};
  const CommandFrame frame = CommandFrame::Request(0x06, 3, 0x0180, payload);
  const auto bytes = frame.Bytes();
  EXPECT_EQ(bytes[0], 0x04);
  EXPECT_EQ(bytes[3], 0x06);
  EXPECT_EQ(bytes[4], 3);
  EXPECT_EQ(bytes[5], 0x80);  // offset little-endian
  EXPECT_EQ(bytes[6], 0x01);
  EXPECT_EQ(bytes[7], 0x00);
  EXPECT_EQ(bytes[8], 0x10);
  EXPECT_EQ(bytes[10], 0x30);
  for (size_t i = 11; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << i;
  const unsigned sum = 0x06 + 3 + 0x80 + 0x01 + 0x10 + 0x20 + 0x30;
  EXPECT_EQ(bytes[1], sum & 0xFF);
  EXPECT_EQ(bytes[2], sum >> 8);
  EXPECT_EQ(frame.Checksum(), sum);
  EXPECT_EQ(frame.Offset(), 0x0180);
}

TEST(CommandFrameTest, ChecksumCoversBytes3To63Only) {
  std::array<uint8_t, 64> all_ff;
  all_ff.fill(0xFF);
  // Report id and the checksum bytes themselves never count: 61 bytes of 0xFF.
  EXPECT_EQ(FrameChecksum(all_ff), 61u * 0xFF);
  std::array<uint8_t, 64> last_only{};
  last_only[63] = 0x42;
  EXPECT_EQ(FrameChecksum(last_only), 0x42);
}

TEST(CommandFrameTest, FromBytesZeroFillsShortInputAndCutsLongInput) {
  const std::array<uint8_t, 5> shorter = {0x04, 0xAA, 0xBB, 0x03, 0x22};
  const CommandFrame frame = CommandFrame::FromBytes(shorter);
  EXPECT_EQ(frame.Command(), 0x03);
  EXPECT_EQ(frame.DataLength(), 0x22);
  EXPECT_EQ(frame.Checksum(), 0xBBAA);  // taken as given, not recomputed
  for (size_t i = 5; i < 64; ++i) EXPECT_EQ(frame.Bytes()[i], 0);

  std::vector<uint8_t> longer(100, 0x07);
  EXPECT_EQ(CommandFrame::FromBytes(longer).Bytes()[63], 0x07);

  const CommandFrame empty = CommandFrame::FromBytes({});
  EXPECT_EQ(empty.ReportId(), 0);  // a reply is never "repaired"
}

}  // namespace
}  // namespace norvane::protocol
