#include <gtest/gtest.h>

#include "hid/report_descriptor.h"
#include "hid/report_fields.h"
#include "hid/usage_table.h"
#include "tests/hid/test_descriptors.h"

namespace norvane::hid {
namespace {

ReportDescriptor Parse(const std::vector<uint8_t>& bytes) {
  return *ParseReportDescriptor(bytes).descriptor;
}

std::vector<uint16_t> Listed(const HidUsageData& item) {
  std::vector<uint16_t> usages;
  for (const uint16_t usage : item.usages) {
    if (usage == 0) break;
    usages.push_back(usage);
  }
  return usages;
}

TEST(UsageDecodeTest, ButtonItemsKeepOnlyTheirOwnRangeAndEndWithZero) {
  const ReportDescriptor d = Parse(testing::kBootKeyboard);
  const ReportLayout& input = d.collections[0].Layout(DescriptorReportType::kInput);
  UsageTable table(input);
  ASSERT_EQ(table.size(), 2u);
  const std::vector<uint8_t> report = {0x00, 0x02, 0x00, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00};
  ASSERT_EQ(table.Decode(report), 1);
  const HidUsageData& modifiers = table.Items()[0];
  const HidUsageData& keys = table.Items()[1];
  // Both items share page 7, so either would see all pressed usages: each keeps its own.
  EXPECT_EQ(modifiers.max_usage_count, 14u);
  EXPECT_EQ(Listed(modifiers), std::vector<uint16_t>{0xE1});
  EXPECT_EQ(Listed(keys), (std::vector<uint16_t>{0x04, 0x05}));
  EXPECT_EQ(keys.usages[2], 0);
  EXPECT_TRUE(keys.is_set);
  EXPECT_EQ(keys.status, kHidStatusSuccess);

  // A later report without keys clears the earlier list.
  const std::vector<uint8_t> released(9, 0);
  ASSERT_EQ(table.Decode(released), 1);
  EXPECT_TRUE(Listed(keys).empty());
}

TEST(UsageDecodeTest, ReportOfAnotherIdLeavesItemsUnchanged) {
  const ReportDescriptor d = Parse(testing::kOurInterfaceOne);
  UsageTable table(d.collections[2].Layout(DescriptorReportType::kInput));
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table.Decode(std::vector<uint8_t>{0x04, 0xE9, 0x00}), 1);
  EXPECT_FALSE(table.Items()[0].is_set);
  // The consumer event: its first usage is the event code.
  EXPECT_EQ(table.Decode(std::vector<uint8_t>{0x03, 0xE9, 0x00}), 1);
  EXPECT_TRUE(table.Items()[0].is_set);
  EXPECT_EQ(table.Items()[0].usages[0], 0xE9);
}

TEST(UsageDecodeTest, ValuesAreRawAndScaled) {
  const ReportDescriptor d = Parse(testing::kBootMouse);
  UsageTable table(d.collections[0].Layout(DescriptorReportType::kInput));
  ASSERT_EQ(table.size(), 3u);  // buttons, X, Y
  ASSERT_EQ(table.Decode(std::vector<uint8_t>{0x00, 0x05, 0xFF, 0x10}), 1);
  EXPECT_EQ(Listed(table.Items()[0]), (std::vector<uint16_t>{1, 3}));
  EXPECT_EQ(table.Items()[1].usage, 0x30);
  EXPECT_EQ(table.Items()[1].raw_value, 0xFFu);
  EXPECT_EQ(table.Items()[1].scaled_value, -1);
  EXPECT_EQ(table.Items()[2].scaled_value, 16);
}

TEST(UsageDecodeTest, ShortReportFailsAtTheFirstUnreadableValue) {
  const ReportDescriptor d = Parse(testing::kBootMouse);
  UsageTable table(d.collections[0].Layout(DescriptorReportType::kInput));
  EXPECT_EQ(table.Decode(std::vector<uint8_t>{0x00, 0x01, 0x07}), 0);
  EXPECT_TRUE(table.Items()[1].is_set);  // X decoded before Y failed
  EXPECT_EQ(table.Items()[1].raw_value, 7u);
  EXPECT_FALSE(table.Items()[2].is_set);
  EXPECT_EQ(table.Items()[2].status, kHidStatusInvalidReportLength);
  EXPECT_EQ(table.Decode(std::vector<uint8_t>{}), 0);
}

TEST(UsageDecodeTest, ValueRangeExpandsIntoOneItemPerUsage) {
  // Three 10-bit absolute values, usages 0x30..0x32, logical 0..1023 mapped onto physical 0..100.
  const std::vector<uint8_t> bytes = {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x19, 0x30, 0x29, 0x32, 0x15,
                                      0x00, 0x26, 0xFF, 0x03, 0x35, 0x00, 0x45, 0x64, 0x75, 0x0A, 0x95,
                                      0x03, 0x81, 0x02, 0x75, 0x02, 0x95, 0x01, 0x81, 0x03, 0xC0};
  const ReportDescriptor d = Parse(bytes);
  UsageTable table(d.collections[0].Layout(DescriptorReportType::kInput));
  ASSERT_EQ(table.size(), 3u);
  // Fields: 1023, 0, 512 packed little-endian in 10-bit steps.
  const uint32_t packed = 1023u | (0u << 10) | (512u << 20);
  const std::vector<uint8_t> report = {0x00, static_cast<uint8_t>(packed), static_cast<uint8_t>(packed >> 8),
                                       static_cast<uint8_t>(packed >> 16),
                                       static_cast<uint8_t>(packed >> 24)};
  ASSERT_EQ(table.Decode(report), 1);
  EXPECT_EQ(table.Items()[0].usage, 0x30);
  EXPECT_EQ(table.Items()[0].raw_value, 1023u);
  EXPECT_EQ(table.Items()[0].scaled_value, 100);
  EXPECT_EQ(table.Items()[1].scaled_value, 0);
  EXPECT_EQ(table.Items()[2].usage, 0x32);
  EXPECT_EQ(table.Items()[2].scaled_value, 50);
}

TEST(ReportFieldsTest, ScalingReportsNullAndOutOfRange) {
  ValueCap cap;
  cap.bit_size = 8;
  cap.logical_min = 1;
  cap.logical_max = 8;
  int32_t scaled = 99;
  EXPECT_EQ(ScaleValue(cap, 0, scaled), kHidStatusValueOutOfRange);
  EXPECT_EQ(scaled, 0);
  cap.has_null = true;
  EXPECT_EQ(ScaleValue(cap, 9, scaled), kHidStatusNull);
  EXPECT_EQ(ScaleValue(cap, 8, scaled), kHidStatusSuccess);
  EXPECT_EQ(scaled, 8);
  cap.logical_max = 1;
  EXPECT_EQ(ScaleValue(cap, 1, scaled), kHidStatusBadLogPhyValues);
}

TEST(ReportFieldsTest, ExtractBitsStaysInsideTheReport) {
  const std::vector<uint8_t> report = {0x07, 0xF0, 0x0F};
  EXPECT_EQ(ExtractBits(report, 4, 8), 0xFFu);
  EXPECT_EQ(ExtractBits(report, 0, 16), 0x0FF0u);
  EXPECT_FALSE(ExtractBits(report, 9, 8));
  EXPECT_FALSE(ExtractBits(std::vector<uint8_t>{}, 0, 1));
  const std::vector<uint8_t> wide(1 + 8, 0xFF);
  EXPECT_EQ(ExtractBits(wide, 0, 64), 0xFFFFFFFFu);  // wider fields give their low 32 bits
}

}  // namespace
}  // namespace norvane::hid
