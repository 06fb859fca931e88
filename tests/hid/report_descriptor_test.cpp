#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include "tests/hid/test_descriptors.h"

namespace norvane::hid {
namespace {

using testing::kBootKeyboard;
using testing::kBootMouse;
using testing::kCompositeWithIds;
using testing::kOurInterfaceOne;
using testing::kVendorWithoutIds;

ReportDescriptor ParseOk(const std::vector<uint8_t>& bytes) {
  auto result = ParseReportDescriptor(bytes);
  EXPECT_TRUE(result.descriptor.has_value()) << result.error;
  return result.descriptor.value_or(ReportDescriptor{});
}

const ReportLayout& Input(const TopLevelCollection& tlc) {
  return tlc.Layout(DescriptorReportType::kInput);
}
const ReportLayout& Output(const TopLevelCollection& tlc) {
  return tlc.Layout(DescriptorReportType::kOutput);
}
const ReportLayout& Feature(const TopLevelCollection& tlc) {
  return tlc.Layout(DescriptorReportType::kFeature);
}

TEST(ReportDescriptorTest, BootKeyboardHasModifierBitsKeyArrayAndLeds) {
  const ReportDescriptor d = ParseOk(kBootKeyboard);
  EXPECT_FALSE(d.uses_report_ids);
  ASSERT_EQ(d.collections.size(), 1u);
  const TopLevelCollection& tlc = d.collections[0];
  EXPECT_EQ(tlc.usage_page, 0x01);
  EXPECT_EQ(tlc.usage, 0x06);
  // Lengths count the id byte even without ids.
  EXPECT_EQ(Input(tlc).byte_length, 9);
  EXPECT_EQ(Output(tlc).byte_length, 2);
  EXPECT_EQ(Feature(tlc).byte_length, 0);
  EXPECT_EQ(Input(tlc).report_ids, std::vector<uint8_t>{0});

  ASSERT_EQ(Input(tlc).buttons.size(), 2u);
  EXPECT_TRUE(Input(tlc).values.empty());
  const ButtonCap& modifiers = Input(tlc).buttons[0];
  EXPECT_FALSE(modifiers.is_array);
  EXPECT_EQ(modifiers.usage_page, 0x07);
  EXPECT_EQ(modifiers.usage_min, 0xE0u);
  EXPECT_EQ(modifiers.usage_max, 0xE7u);
  EXPECT_EQ(modifiers.bit_offset, 0u);
  EXPECT_EQ(modifiers.report_count, 8);
  const ButtonCap& keys = Input(tlc).buttons[1];
  EXPECT_TRUE(keys.is_array);
  EXPECT_EQ(keys.usage_min, 0u);
  EXPECT_EQ(keys.usage_max, 0x65u);
  EXPECT_EQ(keys.bit_offset, 16u);  // after the modifiers and the reserved byte
  EXPECT_EQ(keys.bit_size, 8);
  EXPECT_EQ(keys.report_count, 6);

  ASSERT_EQ(Output(tlc).buttons.size(), 1u);
  EXPECT_EQ(Output(tlc).buttons[0].usage_page, 0x08);
  EXPECT_EQ(Output(tlc).buttons[0].usage_max, 5u);
}

TEST(ReportDescriptorTest, BootMouseAxesAreSignedRelativeValues) {
  const ReportDescriptor d = ParseOk(kBootMouse);
  ASSERT_EQ(d.collections.size(), 1u);  // the physical collection is nested, not top level
  const TopLevelCollection& tlc = d.collections[0];
  EXPECT_EQ(tlc.usage, 0x02);
  EXPECT_EQ(Input(tlc).byte_length, 4);
  ASSERT_EQ(Input(tlc).buttons.size(), 1u);
  ASSERT_EQ(Input(tlc).values.size(), 2u);
  const ValueCap& x = Input(tlc).values[0];
  const ValueCap& y = Input(tlc).values[1];
  EXPECT_EQ(x.usage_min, 0x30u);
  EXPECT_EQ(y.usage_min, 0x31u);
  EXPECT_EQ(x.bit_offset, 8u);
  EXPECT_EQ(y.bit_offset, 16u);
  EXPECT_EQ(x.logical_min, -127);
  EXPECT_EQ(x.logical_max, 127);
  EXPECT_FALSE(x.is_absolute);
}

TEST(ReportDescriptorTest, CompositeCollectionsKeepOrderIdsAndLengths) {
  const ReportDescriptor d = ParseOk(kCompositeWithIds);
  EXPECT_TRUE(d.uses_report_ids);
  ASSERT_EQ(d.collections.size(), 4u);
  EXPECT_EQ(d.collections[0].usage, 0x06);
  EXPECT_EQ(d.collections[1].usage_page, 0x0C);
  EXPECT_EQ(d.collections[2].usage, 0x02);
  EXPECT_EQ(d.collections[3].usage_page, 0xFF00);

  EXPECT_EQ(Input(d.collections[0]).report_ids, std::vector<uint8_t>{1});
  EXPECT_EQ(Input(d.collections[0]).byte_length, 9);
  EXPECT_EQ(Output(d.collections[0]).byte_length, 2);
  EXPECT_EQ(Input(d.collections[1]).byte_length, 3);
  // Mouse: 1 byte of buttons, two 16-bit axes, an 8-bit wheel.
  EXPECT_EQ(Input(d.collections[2]).byte_length, 7);
  ASSERT_EQ(Input(d.collections[2]).values.size(), 3u);
  EXPECT_EQ(Input(d.collections[2]).values[1].bit_offset, 24u);
  EXPECT_EQ(Input(d.collections[2]).values[0].logical_min, -32767);
  EXPECT_EQ(Input(d.collections[2]).values[2].usage_min, 0x38u);
  EXPECT_EQ(Feature(d.collections[3]).byte_length, 8);
  EXPECT_EQ(Input(d.collections[3]).byte_length, 0);
  EXPECT_EQ(Feature(d.collections[3]).values[0].report_count, 7);
}

TEST(ReportDescriptorTest, OurInterfaceOneHasFourCollections) {
  const ReportDescriptor d = ParseOk(kOurInterfaceOne);
  ASSERT_EQ(d.collections.size(), 4u);
  EXPECT_EQ(d.collections[0].usage_page, 0x01);
  EXPECT_EQ(d.collections[0].usage, 0x80);
  EXPECT_EQ(d.collections[1].usage, 0x06);
  EXPECT_EQ(d.collections[2].usage_page, 0x0C);
  EXPECT_EQ(d.collections[2].usage, 0x01);
  EXPECT_EQ(d.collections[3].usage_page, 0xFF1C);
  EXPECT_EQ(d.collections[3].usage, 0x92);

  EXPECT_EQ(Input(d.collections[1]).byte_length, 15);
  EXPECT_EQ(Input(d.collections[2]).report_ids, std::vector<uint8_t>{3});
  EXPECT_EQ(Input(d.collections[2]).byte_length, 3);
  EXPECT_EQ(Input(d.collections[3]).report_ids, std::vector<uint8_t>{4});
  EXPECT_EQ(Input(d.collections[3]).byte_length, 64);
  EXPECT_EQ(Output(d.collections[3]).byte_length, 64);
  // The command bytes form one value array, not 63 usages.
  ASSERT_EQ(Input(d.collections[3]).values.size(), 1u);
  EXPECT_EQ(Input(d.collections[3]).values[0].report_count, 63);
}

TEST(ReportDescriptorTest, VendorCollectionWithoutIdsStillCountsTheIdByte) {
  const ReportDescriptor d = ParseOk(kVendorWithoutIds);
  EXPECT_FALSE(d.uses_report_ids);
  EXPECT_EQ(Input(d.collections[0]).byte_length, 64);
  EXPECT_EQ(Output(d.collections[0]).byte_length, 64);
}

TEST(ReportDescriptorTest, ItemRulesApply) {
  // Extended usage names its own page; a long item is skipped; push/pop restore the field size; a 1-byte
  // logical maximum of 0xFF reads as 255 after a non-negative minimum.
  const std::vector<uint8_t> bytes = {0x05, 0x01,                    // usage page desktop
                                      0x0B, 0x01, 0x00, 0x0C, 0x00,  // usage 0x000C0001 (consumer control)
                                      0xA1, 0x01,                    // collection application
                                      0xFE, 0x02, 0x10, 0xAA, 0xBB,  // long item
                                      0x75, 0x08, 0x95, 0x01,        // 8 bits x 1
                                      0xA4,                          // push
                                      0x75, 0x10,                    // 16 bits
                                      0x09, 0x30, 0x15, 0x00, 0x25,
                                      0xFF, 0x81, 0x02,        // value: 16 bits, 0..255
                                      0xB4,                    // pop: back to 8 bits
                                      0x09, 0x31, 0x81, 0x02,  // value: 8 bits
                                      0xC0};
  const ReportDescriptor d = ParseOk(bytes);
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].usage_page, 0x0C);
  EXPECT_EQ(d.collections[0].usage, 0x01);
  const ReportLayout& input = Input(d.collections[0]);
  ASSERT_EQ(input.values.size(), 2u);
  EXPECT_EQ(input.values[0].bit_size, 16);
  EXPECT_EQ(input.values[0].logical_max, 255);
  EXPECT_EQ(input.values[1].bit_size, 8);
  EXPECT_EQ(input.values[1].bit_offset, 16u);
  EXPECT_EQ(input.byte_length, 4);
}

TEST(ReportDescriptorTest, ValueRangeGivesOneFieldPerUsage) {
  const std::vector<uint8_t> bytes = {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x19, 0x30, 0x29, 0x32,
                                      0x15, 0x00, 0x26, 0xFF, 0x03, 0x75, 0x0A, 0x95, 0x03, 0x81,
                                      0x02, 0x75, 0x02, 0x95, 0x01, 0x81, 0x03, 0xC0};
  const ReportDescriptor d = ParseOk(bytes);
  const ReportLayout& input = Input(d.collections[0]);
  ASSERT_EQ(input.values.size(), 1u);
  EXPECT_TRUE(input.values[0].is_range);
  EXPECT_EQ(input.values[0].usage_min, 0x30u);
  EXPECT_EQ(input.values[0].usage_max, 0x32u);
  EXPECT_EQ(input.byte_length, 5);  // 32 bits + id byte
}

struct Malformed {
  const char* name;
  std::vector<uint8_t> bytes;
};

class MalformedDescriptorTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedDescriptorTest, IsRejectedWithAReason) {
  const auto result = ParseReportDescriptor(GetParam().bytes);
  EXPECT_FALSE(result.descriptor.has_value());
  EXPECT_FALSE(result.error.empty());
}

std::vector<uint8_t> Repeated(std::vector<uint8_t> head, std::vector<uint8_t> unit, size_t times,
                              std::vector<uint8_t> tail) {
  for (size_t i = 0; i < times; ++i) head.insert(head.end(), unit.begin(), unit.end());
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedDescriptorTest,
    ::testing::Values(
        Malformed{"Empty", {}}, Malformed{"TruncatedItem", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x26, 0xFF}},
        Malformed{"TruncatedLongItem", {0xFE, 0x10, 0x01, 0x00}},
        Malformed{"EndWithoutCollection", {0x05, 0x01, 0xC0}},
        Malformed{"UnclosedCollection", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
        Malformed{"PopWithoutPush", {0x05, 0x01, 0xB4}},
        Malformed{"ReportIdZero", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x00, 0xC0}},
        Malformed{"FieldOutsideCollection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
        Malformed{"UnknownGlobal", {0xC4, 0x00}}, Malformed{"UnknownMain", {0xD0}},
        Malformed{"ReservedType", {0x0C}},
        Malformed{"UsageMinAboveMax", {0x05, 0x01, 0x19, 0x09, 0x29, 0x02, 0xA1, 0x01, 0xC0}},
        Malformed{"NoCollection", {0x05, 0x01, 0x09, 0x02}},
        Malformed{
            "ReportTooLong",
            {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0xFF, 0x97, 0xFF, 0xFF, 0x00, 0x00, 0x81, 0x02, 0xC0}},
        Malformed{"ReportSizeTooLarge", {0x77, 0x00, 0x10, 0x00, 0x00}},
        Malformed{"NestingTooDeep", Repeated({}, {0xA1, 0x00}, 65, {})},
        Malformed{"GlobalStackTooDeep", Repeated({}, {0xA4}, 33, {})},
        Malformed{"TooManyUsages", Repeated({0x05, 0x01}, {0x09, 0x30}, 1025, {})},
        Malformed{"TooManyFields", Repeated({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01},
                                            {0x09, 0x30, 0x81, 0x02}, kMaxCapsPerCollection + 1, {0xC0})}),
    [](const ::testing::TestParamInfo<Malformed>& info) { return info.param.name; });

}  // namespace
}  // namespace norvane::hid
