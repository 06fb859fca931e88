// The supported-device list for the device-list companion: its 1024 bytes, and that it goes over the bus
// only to a companion that is there when asked.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "app/copy_data_record.h"
#include "app/device_list_record.h"
#include "app/instance_bus.h"
#include "app/main_messages.h"
#include "tests/app/companion_peer.h"
#include "tests/app/main_window_fixture.h"

namespace norvane::app::test {
namespace {

std::vector<unsigned char> Bytes(const QByteArray& data) {
  return std::vector<unsigned char>(data.begin(), data.end());
}

TEST(DeviceListRecord, FixedWordsThenVendorProductAndKindOfEachPageThenZeros) {
  const std::vector<unsigned char> record = Bytes(BuildDeviceListRecord());
  ASSERT_EQ(record.size(), 1024u);
  const std::vector<unsigned char> head{
      0x02, 0, 0, 0, 0x03, 0, 0, 0, 0x00, 0, 0, 0, 0x02, 0, 0, 0,  // the fixed bytes, one per word
      0x04, 0, 0, 0,                                               // four device pages
      0x0F, 0x32, 0, 0, 0xEF, 0x50, 0, 0, 0x02, 0, 0, 0,           // mouse 320F:50EF, kind 2
      0x0F, 0x32, 0, 0, 0x55, 0x50, 0, 0, 0x01, 0, 0, 0,           // keyboard 320F:5055, kind 1
      0x0F, 0x32, 0, 0, 0x04, 0x10, 0, 0, 0x03, 0, 0, 0,           // mouse pad 320F:1004, kind 3
      0x76, 0x0C, 0, 0, 0x30, 0x16, 0, 0, 0x07, 0, 0, 0,           // headset 0C76:1630, kind 7
  };
  EXPECT_EQ(std::vector<unsigned char>(record.begin(), record.begin() + long(head.size())), head);
  EXPECT_TRUE(std::all_of(record.begin() + long(head.size()), record.end(), [](unsigned char b) { return b == 0; }));
}

class DeviceListBusTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (TestBusAddress().isEmpty()) GTEST_SKIP() << "no D-Bus bus available";
    InstanceBusOptions options;
    options.busAddress = TestBusAddress();
    options.serviceName = TestServiceName("DeviceList");
    bus_ = std::make_unique<CInstanceBus>([this](const BusMessage& m) { if (window_) window_->OnBusMessage(m); },
                                          options);
    ASSERT_TRUE(bus_->TryBecomePrimary());
    MainWndOptions windowOptions = Options();
    windowOptions.bus = bus_.get();
    Start(std::move(windowOptions));
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    companion_.reset();
    bus_.reset();
  }
  // The device-list companion appears on the bus under its well-known name.
  void CompanionArrives() {
    companion_ = std::make_unique<CompanionPeer>(TestBusAddress(), kDeviceListServiceName);
    ASSERT_TRUE(companion_->IsRegistered());
  }
  void Ask() { window_->SendMessage(RegisteredMessageId(RegisteredMessage::kDeviceListRequestMessage), 0, 0); }

  std::unique_ptr<CInstanceBus> bus_;
  std::unique_ptr<CompanionPeer> companion_;
};

TEST_F(DeviceListBusTest, TheListGoesToTheCompanionOnlyWhileItIsThere) {
  Ask();  // nobody there: dropped
  CompanionArrives();
  QTest::qWait(100);
  EXPECT_TRUE(companion_->Records().empty()) << "an earlier request is not delivered late";

  Ask();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !companion_->Records().empty(); }, 3000));
  ASSERT_EQ(companion_->Records().size(), 1u);
  EXPECT_EQ(companion_->Records()[0].first, kCopyDataDeviceList);
  EXPECT_EQ(companion_->Records()[0].second, BuildDeviceListRecord());

  // The companion leaves between the request and the send: nothing breaks.
  companion_.reset();
  Ask();
  QTest::qWait(50);
  EXPECT_TRUE(companion_ == nullptr);
}

}  // namespace
}  // namespace norvane::app::test
