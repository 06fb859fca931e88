// Enumeration, node numbering, opening, unplug and replug, hotplug notifications.

#include <atomic>

#include "emulator_test_support.h"

namespace norvane::emulator::testing {
namespace {

using std::chrono::milliseconds;

class PlugTest : public EmulatorTest {
 protected:
  void SetUp() override { Create("keyboard,mouse-receiver,headset"); }

  std::vector<std::string> NodeIds() {
    std::vector<std::string> ids;
    const std::vector<hid::HidNodeInfo> nodes = backend->Enumerate().value();
    for (const auto& node : nodes) ids.push_back(node.node_id);
    return ids;
  }
};

TEST_F(PlugTest, EnumerationShowsEachInterfaceWithItsIdentity) {
  const std::vector<hid::HidNodeInfo> nodes = backend->Enumerate().value();
  ASSERT_EQ(nodes.size(), 5u);  // keyboard 0 and 1, receiver 0 and 1, headset 3
  const auto describe = [](const hid::HidNodeInfo& node) {
    return std::tuple(node.node_id, node.vendor_id, node.product_id, node.interface_number,
                      node.usb_location);
  };
  EXPECT_EQ(describe(nodes[0]), std::tuple("emu/hidraw0", 0x320F, 0x5055, 0, "1-1:1.0"));
  EXPECT_EQ(describe(nodes[1]), std::tuple("emu/hidraw1", 0x320F, 0x5055, 1, "1-1:1.1"));
  EXPECT_EQ(describe(nodes[2]), std::tuple("emu/hidraw2", 0x320F, 0x221D, 0, "1-2:1.0"));
  EXPECT_EQ(describe(nodes[3]), std::tuple("emu/hidraw3", 0x320F, 0x221D, 1, "1-2:1.1"));
  EXPECT_EQ(describe(nodes[4]), std::tuple("emu/hidraw4", 0x0C76, 0x1630, 3, "1-3:1.3"));
  for (const auto& node : nodes) {
    EXPECT_TRUE(node.composite);
    EXPECT_FALSE(node.report_descriptor.empty());
    EXPECT_NE(node.version, 0);
  }
  EXPECT_EQ(backend->CommandNodeId(Find(DeviceModel::kHeadset)), "emu/hidraw4");
  EXPECT_EQ(backend->NodeId(Find(DeviceModel::kKeyboard), 0), "emu/hidraw0");
}

TEST_F(PlugTest, OpenChecksPresenceAndIdentity) {
  const hid::HidNodeInfo keyboard_node = backend->Enumerate().value()[1];
  hid::OpenError error = hid::OpenError::kNone;
  EXPECT_EQ(backend->Open("emu/hidraw9", nullptr, error), nullptr);
  EXPECT_EQ(error, hid::OpenError::kNotFound);
  EXPECT_NE(backend->Open(keyboard_node.node_id, &keyboard_node, error), nullptr);
  EXPECT_EQ(error, hid::OpenError::kNone);

  // The keyboard leaves and the mouse receiver, replugged, takes its numbers.
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  const DeviceId receiver = Find(DeviceModel::kMouseReceiver);
  backend->Unplug(keyboard);
  backend->Unplug(receiver);
  backend->Plug(receiver);
  EXPECT_EQ(backend->CommandNodeId(receiver), "emu/hidraw1");
  EXPECT_EQ(backend->Open(keyboard_node.node_id, &keyboard_node, error), nullptr);
  EXPECT_EQ(error, hid::OpenError::kIdentityMismatch);
}

TEST_F(PlugTest, UnplugEndsOpenConnectionsForGood) {
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  auto connection = OpenCommandNode(keyboard);
  backend->Unplug(keyboard);
  EXPECT_FALSE(backend->IsPlugged(keyboard));
  EXPECT_FALSE(backend->CommandNodeId(keyboard).has_value());
  Bytes report;
  EXPECT_EQ(connection->ReadInput(report, milliseconds(1000)), hid::ReadStatus::kGone);
  EXPECT_FALSE(connection->WriteOutput(MakeFrame(0x01, 0, 0)));
  EXPECT_FALSE(backend->InjectEvent(keyboard, 0x0401));

  // Replugged under the same number, the old connection still belongs to the old plugging.
  backend->Plug(keyboard);
  EXPECT_EQ(backend->CommandNodeId(keyboard), "emu/hidraw1");
  EXPECT_EQ(connection->ReadInput(report, milliseconds(10)), hid::ReadStatus::kGone);
  EXPECT_FALSE(connection->WriteOutput(MakeFrame(0x01, 0, 0)));
  auto fresh = OpenCommandNode(keyboard);
  EXPECT_TRUE(Exchange(*fresh, MakeFrame(0x01, 0, 0)).has_value());
}

TEST_F(PlugTest, ReplugTakesLowestFreeOrFreshNumbers) {
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  const DeviceId headset = Find(DeviceModel::kHeadset);
  backend->Unplug(keyboard);
  EXPECT_EQ(NodeIds(), (std::vector<std::string>{"emu/hidraw2", "emu/hidraw3", "emu/hidraw4"}));
  backend->Unplug(headset);
  backend->Plug(headset);  // lowest free: 0
  EXPECT_EQ(backend->CommandNodeId(headset), "emu/hidraw0");
  backend->Plug(keyboard, NodeNumbering::kFresh);
  EXPECT_EQ(backend->NodeId(keyboard, 0), "emu/hidraw5");
  EXPECT_EQ(backend->NodeId(keyboard, 1), "emu/hidraw6");
  // Enumeration stays ordered by number; the USB location follows the port, not the number.
  EXPECT_EQ(NodeIds(), (std::vector<std::string>{"emu/hidraw0", "emu/hidraw2", "emu/hidraw3", "emu/hidraw5",
                                                 "emu/hidraw6"}));
  EXPECT_EQ(backend->Enumerate().value()[4].usb_location, "1-1:1.1");
}

TEST_F(PlugTest, BootInterfaceTakesOnlyItsLedReport) {
  hid::OpenError error = hid::OpenError::kNone;
  auto boot = backend->Open(*backend->NodeId(Find(DeviceModel::kKeyboard), 0), nullptr, error);
  ASSERT_NE(boot, nullptr);
  EXPECT_TRUE(boot->WriteOutput(Bytes{0x00, 0x02}));  // no report ids: id 0, then the LED bits
  EXPECT_FALSE(boot->WriteOutput(MakeFrame(0x01, 0, 0)));
  Bytes report;
  EXPECT_EQ(boot->ReadInput(report, milliseconds(10)), hid::ReadStatus::kTimeout);
}

TEST_F(PlugTest, HotplugListenersHearEveryChangeUntilUnsubscribed) {
  std::atomic<int> changes{0};
  auto subscription = backend->WatchHotplug([&] { ++changes; });
  const DeviceId keyboard = Find(DeviceModel::kKeyboard);
  backend->Unplug(keyboard);
  backend->Unplug(keyboard);  // already gone: no change
  backend->Plug(keyboard);
  EXPECT_EQ(changes.load(), 2);
  subscription.reset();
  backend->Unplug(keyboard);
  EXPECT_EQ(changes.load(), 2);
}

TEST_F(PlugTest, ListenerMayDropItsOwnSubscription) {
  std::unique_ptr<hid::HotplugSubscription> subscription;
  int calls = 0;
  subscription = backend->WatchHotplug([&] {
    ++calls;
    subscription.reset();
  });
  backend->Unplug(Find(DeviceModel::kHeadset));
  backend->Plug(Find(DeviceModel::kHeadset));
  EXPECT_EQ(calls, 1);
}

TEST_F(PlugTest, ConnectionsAndSubscriptionsOutliveTheBackend) {
  auto connection = OpenCommandNode(Find(DeviceModel::kKeyboard));
  auto subscription = backend->WatchHotplug([] {});
  backend.reset();
  EXPECT_TRUE(Exchange(*connection, MakeFrame(0x01, 0, 0)).has_value());
  subscription.reset();
}

}  // namespace
}  // namespace norvane::emulator::testing
