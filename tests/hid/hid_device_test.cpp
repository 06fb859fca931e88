// HidDevice over the in-test fake backend: enumeration, opening, identity after replug, access rules.
#include "hid/hid_device.h"

#include <gtest/gtest.h>

#include "tests/hid/fake_hid_backend.h"
#include "tests/hid/test_descriptors.h"

namespace norvane::hid {
namespace {

using testing::MakeNodeInfo;
using testing::ScopedFakeBackend;

constexpr char kCommandPath[] = "/dev/hidraw1#vid_320f&pid_5055&mi_01&col04#1-2.3:1.1";
constexpr char kEventPath[] = "/dev/hidraw1#vid_320f&pid_5055&mi_01&col03#1-2.3:1.1";

std::vector<std::string> AllPaths(HidDevice& device) {
  std::vector<std::string> paths;
  while (const std::string* path = device.NextInterfacePath()) paths.push_back(*path);
  return paths;
}

TEST(HidDeviceEnumerationTest, ListsOnePathPerCollectionInNodeOrder) {
  ScopedFakeBackend backend;
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  HidNodeInfo keyboard = MakeNodeInfo("/dev/hidraw0", testing::kBootKeyboard);
  keyboard.interface_number = 0;
  backend->Plug(keyboard);
  backend->Plug(MakeNodeInfo("/dev/hidraw2", {0x05, 0x01, 0xC0}));  // unreadable descriptor: skipped

  HidDevice device;
  ASSERT_EQ(device.EnumerateInterfaces(), 1);
  EXPECT_EQ(device.InterfacePathCount(), 5u);
  const std::vector<std::string> paths = AllPaths(device);
  ASSERT_EQ(paths.size(), 5u);
  EXPECT_EQ(paths[0], "/dev/hidraw0#vid_320f&pid_5055&mi_00#1-2.3:1.1");
  EXPECT_EQ(paths[1], "/dev/hidraw1#vid_320f&pid_5055&mi_01&col01#1-2.3:1.1");
  EXPECT_EQ(paths[4], kCommandPath);
  EXPECT_EQ(device.NextInterfacePath(), nullptr);

  // A new enumeration starts the walk again; clearing leaves nothing.
  ASSERT_EQ(device.EnumerateInterfaces(), 1);
  EXPECT_NE(device.NextInterfacePath(), nullptr);
  device.ClearInterfacePaths();
  EXPECT_EQ(device.NextInterfacePath(), nullptr);
}

TEST(HidDeviceEnumerationTest, EmptyAndFailedEnumerations) {
  ScopedFakeBackend backend;
  HidDevice device;
  EXPECT_EQ(device.EnumerateInterfaces(), 1);
  EXPECT_EQ(device.NextInterfacePath(), nullptr);
  backend->FailEnumeration(true);
  EXPECT_EQ(device.EnumerateInterfaces(), 0);
  EXPECT_EQ(device.InterfacePathCount(), 0u);
}

TEST(HidDeviceEnumerationTest, OpeningTheListedPathsUsesTheFreshListUnlessItIsStale) {
  ScopedFakeBackend backend;
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  HidDevice scan;
  ASSERT_EQ(scan.EnumerateInterfaces(), 1);
  const std::vector<std::string> paths = AllPaths(scan);
  for (const std::string& path : paths) {
    HidDevice probe;
    ASSERT_EQ(probe.Open(path, true, false, true, false), 1) << path;
  }
  EXPECT_EQ(backend->Enumerations(), 1);

  // Another device took the node number since the list was made: the list is not trusted for it.
  backend->Unplug("/dev/hidraw1");
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne, 0x5055, "1-4:1.1"));
  HidDevice device;
  EXPECT_EQ(device.Open(paths[3], true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kIdentityMismatch);
  EXPECT_EQ(device.Open("/dev/hidraw1#vid_320f&pid_5055&mi_01&col04#1-4:1.1", true, true, true, false), 1);
}

TEST(HidDeviceOpenTest, OpenGivesAttributesCapsBuffersAndNumbers) {
  ScopedFakeBackend backend;
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  HidDevice device;
  ASSERT_EQ(device.Open(kCommandPath, true, true, true, false), 1);
  EXPECT_TRUE(device.IsOpen());
  EXPECT_EQ(device.LastOpenError(), OpenError::kNone);
  EXPECT_EQ(device.Path(), kCommandPath);
  EXPECT_EQ(device.Attributes().vendor_id, 0x320F);
  EXPECT_EQ(device.Attributes().product_id, 0x5055);
  EXPECT_EQ(device.Attributes().version, 0x0102);
  EXPECT_EQ(device.Caps().usage_page, 0xFF1C);
  EXPECT_EQ(device.Caps().usage, 0x92);
  EXPECT_EQ(device.Caps().input_report_byte_length, 64);
  EXPECT_EQ(device.Caps().output_report_byte_length, 64);
  EXPECT_EQ(device.Caps().number_input_value_caps, 1);
  EXPECT_EQ(device.ReportBuffer(ReportType::kInput).size(), 64u);
  EXPECT_EQ(device.ReportBuffer(ReportType::kFeature).size(), 0u);
  EXPECT_EQ(device.UsageData(ReportType::kInput).size(), 1u);
  EXPECT_EQ(device.InterfaceNumber(), 1u);
  EXPECT_EQ(device.CollectionNumber(), 4u);

  // Reopening by the record's own path.
  ASSERT_EQ(device.Open(device.Path(), true, true, true, false), 1);
  EXPECT_EQ(device.Path(), kCommandPath);

  device.Close();
  EXPECT_FALSE(device.IsOpen());
  EXPECT_TRUE(device.ReportBuffer(ReportType::kInput).empty());
  EXPECT_TRUE(device.UsageData(ReportType::kInput).empty());
  device.Close();  // harmless on a closed record
}

TEST(HidDeviceOpenTest, DecodeInputReportUsesTheOpenCollection) {
  ScopedFakeBackend backend;
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  HidDevice device;
  EXPECT_EQ(device.DecodeInputReport(std::vector<uint8_t>{0x03, 0x01, 0x00}, ReportType::kInput), 0);
  ASSERT_EQ(device.Open(kEventPath, true, true, true, false), 1);
  ASSERT_EQ(device.DecodeInputReport(std::vector<uint8_t>{0x03, 0xCD, 0x00}, ReportType::kInput), 1);
  EXPECT_EQ(device.UsageData(ReportType::kInput)[0].usages[0], 0xCD);
}

TEST(HidDeviceOpenTest, FailuresSayWhy) {
  ScopedFakeBackend backend;
  HidDevice device;
  EXPECT_EQ(device.Open(kCommandPath, true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kNotFound);
  EXPECT_EQ(device.Open("not a path", true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kNotFound);

  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  backend->DenyPermission(true);
  EXPECT_EQ(device.Open(kCommandPath, true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kPermissionDenied);
  EXPECT_FALSE(device.IsOpen());
  backend->DenyPermission(false);

  // A collection number the node does not have.
  EXPECT_EQ(device.Open("/dev/hidraw1#vid_320f&pid_5055&mi_01&col05#1-2.3:1.1", true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kIdentityMismatch);
  ASSERT_EQ(device.Open(kCommandPath, true, true, true, false), 1);
  EXPECT_EQ(device.LastOpenError(), OpenError::kNone);
}

TEST(HidDeviceOpenTest, PathReopensOnlyTheSamePhysicalDevice) {
  ScopedFakeBackend backend;
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  HidDevice device;
  ASSERT_EQ(device.Open(kCommandPath, true, true, true, false), 1);
  device.Close();

  // Replugged: the node number now belongs to another device of the same model on another port.
  backend->Unplug("/dev/hidraw1");
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne, 0x5055, "1-4:1.1"));
  EXPECT_EQ(device.Open(kCommandPath, true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kIdentityMismatch);

  // And a receiver got the number: another product.
  backend->Unplug("/dev/hidraw1");
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne, 0x50EC));
  EXPECT_EQ(device.Open(kCommandPath, true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kIdentityMismatch);
}

TEST(HidDeviceOpenTest, ExclusiveOpeningRefusesWritersAndTheOtherWayRound) {
  ScopedFakeBackend backend;
  backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  HidDevice writer, exclusive, reader;
  ASSERT_EQ(writer.Open(kCommandPath, true, true, true, false), 1);
  EXPECT_EQ(exclusive.Open(kCommandPath, true, false, true, true), 0);
  writer.Close();
  ASSERT_EQ(exclusive.Open(kCommandPath, true, false, true, true), 1);
  EXPECT_EQ(writer.Open(kCommandPath, true, true, true, false), 0);
  EXPECT_EQ(reader.Open(kCommandPath, true, false, true, false), 1);
  // Sharing is per collection: another collection of the node is free.
  EXPECT_EQ(writer.Open(kEventPath, true, true, true, false), 1);
}

TEST(HidDeviceOpenTest, WritesCheckAccessAndTheCollectionsOwnReports) {
  ScopedFakeBackend backend;
  const auto node = backend->Plug(MakeNodeInfo("/dev/hidraw1", testing::kOurInterfaceOne));
  std::vector<uint8_t> frame(64, 0);
  frame[0] = 0x04;
  frame[3] = 0x42;
  uint32_t written = 99;

  HidDevice read_only;
  ASSERT_EQ(read_only.Open(kCommandPath, true, false, true, false), 1);
  EXPECT_EQ(read_only.WriteReport(frame, &written, 1000), 0);
  EXPECT_EQ(written, 0u);

  HidDevice device;
  ASSERT_EQ(device.Open(kCommandPath, true, true, true, false), 1);
  ASSERT_EQ(device.WriteReport(frame, &written, 1000), 1);
  EXPECT_EQ(written, 64u);
  ASSERT_EQ(node->Writes().size(), 1u);
  EXPECT_EQ(node->Writes()[0], frame);

  std::vector<uint8_t> other_id = frame;
  other_id[0] = 0x03;  // the consumer collection's id: not this handle's to send
  EXPECT_EQ(device.WriteReport(other_id, nullptr, 1000), 0);
  std::vector<uint8_t> too_long(65, 0x04);
  EXPECT_EQ(device.WriteReport(too_long, nullptr, 1000), 0);
  EXPECT_EQ(device.WriteReport({}, nullptr, 1000), 0);
  // Output reports through the control pipe follow the same rules.
  ASSERT_EQ(device.SetOutputReport(frame, 1000), 1);
  EXPECT_EQ(node->ControlPipeWrites(), 1u);
  EXPECT_EQ(device.SetOutputReport(other_id, 1000), 0);
  EXPECT_EQ(read_only.SetOutputReport(frame, 1000), 0);

  node->FailWrites(true);
  EXPECT_EQ(device.WriteReport(frame, &written, 1000), 0);
  EXPECT_EQ(node->Writes().size(), 2u);
}

}  // namespace
}  // namespace norvane::hid
