#include "hid/hid_path.h"

#include <gtest/gtest.h>

#include "hid/hid_device.h"

namespace norvane::hid {
namespace {

HidNodeInfo Node(bool composite) {
  HidNodeInfo info;
  info.node_id = "/dev/hidraw3";
  info.vendor_id = 0x320F;
  info.product_id = 0x50EC;
  info.interface_number = 1;
  info.composite = composite;
  info.usb_location = "1-2.3:1.1";
  return info;
}

TEST(HidPathTest, BuildsMarkersOnlyWhereTheyApply) {
  EXPECT_EQ(BuildInterfacePath(Node(true), 3, 4), "/dev/hidraw3#vid_320f&pid_50ec&mi_01&col04#1-2.3:1.1");
  EXPECT_EQ(BuildInterfacePath(Node(true), 0, 1), "/dev/hidraw3#vid_320f&pid_50ec&mi_01#1-2.3:1.1");
  EXPECT_EQ(BuildInterfacePath(Node(false), 9, 12), "/dev/hidraw3#vid_320f&pid_50ec&col0a#1-2.3:1.1");
  EXPECT_EQ(BuildInterfacePath(Node(false), 0, 1), "/dev/hidraw3#vid_320f&pid_50ec#1-2.3:1.1");
}

TEST(HidPathTest, RefusesNamesThatWouldBreakThePath) {
  HidNodeInfo hash = Node(true);
  hash.node_id = "emu#1";
  EXPECT_FALSE(BuildInterfacePath(hash, 0, 1));
  HidNodeInfo marker = Node(true);
  marker.usb_location = "usb-VID_1234";
  EXPECT_FALSE(BuildInterfacePath(marker, 0, 1));
  HidNodeInfo empty = Node(true);
  empty.node_id.clear();
  EXPECT_FALSE(BuildInterfacePath(empty, 0, 1));
}

TEST(HidPathTest, BuiltPathsParseBackAndSplit) {
  const std::string path = *BuildInterfacePath(Node(true), 2, 4);
  EXPECT_EQ(ParseVendorId(path), 0x320F);
  EXPECT_EQ(ParseProductId(path), 0x50EC);
  EXPECT_EQ(ParseInterfaceNumber(path), 1);
  EXPECT_EQ(ParseCollectionNumber(path), 3);
  const auto parts = SplitInterfacePath(path);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->node_id, "/dev/hidraw3");
  EXPECT_EQ(parts->identity, "vid_320f&pid_50ec&mi_01&col03");
  EXPECT_EQ(parts->usb_location, "1-2.3:1.1");
  EXPECT_FALSE(SplitInterfacePath("/dev/hidraw3"));
  EXPECT_FALSE(SplitInterfacePath("#vid_1#x"));
}

TEST(HidPathTest, ParseFunctionsReadHexAfterMarkersRegardlessOfCase) {
  EXPECT_EQ(ParseInterfaceNumber("x#VID_320F&PID_5055#y"), 0);
  EXPECT_EQ(ParseCollectionNumber("x#VID_320F&PID_5055#y"), 0);
  EXPECT_EQ(ParseInterfaceNumber("x#vid_1&pid_2&MI_02#y"), 2);
  EXPECT_EQ(ParseCollectionNumber("x#vid_1&pid_2&Col0a#y"), 10);
  EXPECT_EQ(ParseVendorId("VID_320F"), 0x320F);
  EXPECT_EQ(ParseVendorId("vid_123456"), 0x3456);  // low 16 bits
  EXPECT_EQ(ParseProductId("pid_zz"), 0);          // no digits
  EXPECT_EQ(ParseProductId(""), 0);
  EXPECT_EQ(ParseCollectionNumber("&col"), 0);
}

TEST(HidPathTest, PermissionHintNamesTheRuleAndTheSetupStep) {
  const std::string hint = PermissionHint();
  EXPECT_NE(hint.find("70-norvane.rules"), std::string::npos);
  EXPECT_NE(hint.find("scripts/setup --udev"), std::string::npos);
  EXPECT_EQ(hint.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace norvane::hid
