// The hidraw backend on a machine without HID devices, and its pieces that need no device.
#include "hid/hidraw_backend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "hid/hid_device.h"
#include "hid/hidraw_node_info.h"
#include "hid/hotplug_listeners.h"

namespace norvane::hid {
namespace {

using namespace std::chrono_literals;

TEST(HidrawBackendTest, EnumerationSucceedsAndListsOnlyReadableNodes) {
  const auto backend = MakeHidrawBackend();
  const auto nodes = backend->Enumerate();
  ASSERT_TRUE(nodes.has_value());
  for (const HidNodeInfo& node : *nodes) {
    EXPECT_TRUE(IsHidrawNodeName(node.node_id));
    EXPECT_FALSE(node.report_descriptor.empty());
  }
}

TEST(HidrawBackendTest, OpensNothingButHidrawNodes) {
  const auto backend = MakeHidrawBackend();
  OpenError error = OpenError::kNone;
  EXPECT_EQ(backend->Open("/etc/passwd", nullptr, error), nullptr);
  EXPECT_EQ(error, OpenError::kNotFound);
  EXPECT_EQ(backend->Open("/dev/hidraw999", nullptr, error), nullptr);
  EXPECT_EQ(error, OpenError::kNotFound);
}

TEST(HidrawBackendTest, HotplugSubscriptionComesAndGoesCleanly) {
  const auto backend = MakeHidrawBackend();
  auto subscription = backend->WatchHotplug([] {});
  EXPECT_NE(subscription, nullptr);
  subscription.reset();
}

TEST(HidrawBackendTest, DefaultBackendGivesAnEmptyOrRealPathList) {
  const auto previous = SetActiveHidBackend(nullptr);  // falls back to hidraw
  HidDevice device;
  EXPECT_EQ(device.EnumerateInterfaces(), 1);
  EXPECT_EQ(device.Open("/dev/hidraw999#vid_320f&pid_5055#1-1:1.0", true, true, true, false), 0);
  EXPECT_EQ(device.LastOpenError(), OpenError::kNotFound);
  SetActiveHidBackend(previous);
}

TEST(HidrawNodeNameTest, AcceptsOnlyDevHidrawNumbers) {
  EXPECT_TRUE(IsHidrawNodeName("/dev/hidraw0"));
  EXPECT_TRUE(IsHidrawNodeName("/dev/hidraw12"));
  EXPECT_FALSE(IsHidrawNodeName("/dev/hidraw"));
  EXPECT_FALSE(IsHidrawNodeName("/dev/hidraw1/../sda"));
  EXPECT_FALSE(IsHidrawNodeName("/dev/hidraw1x"));
  EXPECT_FALSE(IsHidrawNodeName("hidraw1"));
  EXPECT_LT(HidrawNodeNumber("/dev/hidraw2"), HidrawNodeNumber("/dev/hidraw10"));
}

TEST(HotplugListenersTest, RemovedListenerIsNeverCalledAgain) {
  auto listeners = std::make_shared<HotplugListeners>();
  std::atomic<int> calls{0};
  auto subscription = listeners->Add([&] { ++calls; });
  listeners->NotifyAll();
  EXPECT_EQ(calls, 1);
  subscription.reset();
  listeners->NotifyAll();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(listeners->Empty());
}

TEST(HotplugListenersTest, UnsubscribingWaitsForARunningCall) {
  auto listeners = std::make_shared<HotplugListeners>();
  std::promise<void> entered;
  std::atomic<bool> finished{false};
  auto subscription = listeners->Add([&] {
    entered.set_value();
    std::this_thread::sleep_for(50ms);
    finished = true;
  });
  std::thread notifier([&] { listeners->NotifyAll(); });
  entered.get_future().wait();
  subscription.reset();
  EXPECT_TRUE(finished);  // the call ended before the subscription let go
  notifier.join();
}

TEST(HotplugListenersTest, AListenerMayUnsubscribeItself) {
  auto listeners = std::make_shared<HotplugListeners>();
  std::unique_ptr<HotplugSubscription> subscription;
  int calls = 0;
  subscription = listeners->Add([&] {
    ++calls;
    subscription.reset();
  });
  listeners->NotifyAll();
  listeners->NotifyAll();
  EXPECT_EQ(calls, 1);
  // Outliving the listener list is fine too.
  auto late = listeners->Add([] {});
  listeners.reset();
  late.reset();
}

}  // namespace
}  // namespace norvane::hid
