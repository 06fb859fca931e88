// The device list parser and the hand-written report descriptors.

#include <map>

#include "emulator/usb_identity.h"
#include "emulator_test_support.h"

namespace norvane::emulator::testing {
namespace {

TEST(DeviceListTest, ParsesEveryNameCaseAndBlanksAndRepeats) {
  std::string error;
  const auto models =
      ParseDeviceList(" Keyboard ,keyboard-receiver,mouse,mouse-receiver,MOUSEPAD,headset,mouse", &error);
  ASSERT_TRUE(models.has_value()) << error;
  EXPECT_EQ(*models,
            (std::vector<DeviceModel>{DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver,
                                      DeviceModel::kMouse, DeviceModel::kMouseReceiver,
                                      DeviceModel::kMousePad, DeviceModel::kHeadset, DeviceModel::kMouse}));
  for (const DeviceModel model : *models)
    EXPECT_EQ(ParseDeviceList(DeviceModelName(model)).value()[0], model);
}

TEST(DeviceListTest, RejectsUnknownAndEmptyNamesClearly) {
  std::string error;
  EXPECT_FALSE(ParseDeviceList("keyboard,trackball", &error).has_value());
  EXPECT_NE(error.find("\"trackball\""), std::string::npos);
  EXPECT_NE(error.find("mouse-receiver"), std::string::npos);  // lists what is known
  EXPECT_FALSE(ParseDeviceList("keyboard,,mouse", &error).has_value());
  EXPECT_NE(error.find("empty name"), std::string::npos);
  EXPECT_FALSE(ParseDeviceList("  ", &error).has_value());
  EXPECT_EQ(EmulatorBackend::FromList("mouse,", &error), nullptr);
}

// A small walk over short items: the top-level collections and the bits of each report.
struct DescriptorShape {
  std::vector<std::pair<uint16_t, uint16_t>> collections;    // usage page, usage
  std::map<std::pair<uint8_t, char>, uint32_t> report_bits;  // (report id, 'I' or 'O') -> bits
  int depth = 0;
};

DescriptorShape Walk(std::span<const uint8_t> descriptor) {
  DescriptorShape shape;
  uint16_t usage_page = 0, usage = 0;
  uint32_t report_size = 0, report_count = 0;
  uint8_t report_id = 0;
  for (size_t at = 0; at < descriptor.size();) {
    const uint8_t prefix = descriptor[at];
    const size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
    EXPECT_LE(at + 1 + length, descriptor.size());
    uint32_t data = 0;
    for (size_t i = 0; i < length; ++i) data |= uint32_t{descriptor[at + 1 + i]} << (8 * i);
    switch (prefix & 0xFC) {
      case 0x04:
        usage_page = static_cast<uint16_t>(data);
        break;
      case 0x08:
        usage = static_cast<uint16_t>(data);
        break;
      case 0x74:
        report_size = data;
        break;
      case 0x94:
        report_count = data;
        break;
      case 0x84:
        report_id = static_cast<uint8_t>(data);
        break;
      case 0xA0:
        if (shape.depth++ == 0) shape.collections.emplace_back(usage_page, usage);
        break;
      case 0xC0:
        --shape.depth;
        break;
      case 0x80:
        shape.report_bits[{report_id, 'I'}] += report_size * report_count;
        break;
      case 0x90:
        shape.report_bits[{report_id, 'O'}] += report_size * report_count;
        break;
      default:
        break;
    }
    at += 1 + length;
  }
  return shape;
}

TEST(DescriptorTest, CompositeCommandInterfacesHaveFourCollectionsInOrder) {
  for (const DeviceModel model : {DeviceModel::kKeyboard, DeviceModel::kKeyboardReceiver, DeviceModel::kMouse,
                                  DeviceModel::kMouseReceiver, DeviceModel::kMousePad}) {
    SCOPED_TRACE(std::string(DeviceModelName(model)));
    const UsbIdentity& identity = IdentityOf(model);
    ASSERT_EQ(identity.interfaces.size(), 2u);
    EXPECT_EQ(Walk(identity.interfaces[0].report_descriptor).collections.size(), 1u);  // boot interface
    const HidInterfaceSpec& commands = identity.interfaces[1];
    EXPECT_EQ(commands.number, 1);
    const DescriptorShape shape = Walk(commands.report_descriptor);
    EXPECT_EQ(shape.depth, 0);
    ASSERT_EQ(shape.collections.size(), 4u);
    EXPECT_EQ(shape.collections[0].first, 0x01);
    EXPECT_EQ(shape.collections[1].first, 0x01);
    EXPECT_EQ(shape.collections[2], (std::pair<uint16_t, uint16_t>{0x0C, 0x01}));
    EXPECT_EQ(shape.collections[3], (std::pair<uint16_t, uint16_t>{0xFF1C, 0x92}));
    EXPECT_EQ((shape.report_bits.at({0x04, 'I'})), 63u * 8);
    EXPECT_EQ((shape.report_bits.at({0x04, 'O'})), 63u * 8);
    EXPECT_EQ((shape.report_bits.at({kEventReportId, 'I'})), 16u);
  }
}

TEST(DescriptorTest, HeadsetHasOneConsumerCollectionWithCommandsEventsAndLights) {
  const UsbIdentity& identity = IdentityOf(DeviceModel::kHeadset);
  ASSERT_EQ(identity.interfaces.size(), 1u);
  EXPECT_EQ(identity.interfaces[0].number, 3);
  const DescriptorShape shape = Walk(identity.interfaces[0].report_descriptor);
  EXPECT_EQ(shape.depth, 0);
  EXPECT_EQ(shape.collections, (std::vector<std::pair<uint16_t, uint16_t>>{{0x0C, 0x01}}));
  EXPECT_EQ((shape.report_bits.at({0x04, 'I'})), 63u * 8);
  EXPECT_EQ((shape.report_bits.at({0x04, 'O'})), 63u * 8);
  EXPECT_EQ((shape.report_bits.at({kHeadsetEventReportId, 'I'})), 16u);
  EXPECT_EQ((shape.report_bits.at({kHeadsetLightReportId, 'O'})), 16u * 8);
}

}  // namespace
}  // namespace norvane::emulator::testing
