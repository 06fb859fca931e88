// The companion's records on the bus, sent from a plain thread through libdbus: what the window receives,
// byte for byte, and what happens without a window or without a bus.
#include "audio/record_sender.h"

#include <gtest/gtest.h>

#include <QTest>
#include <array>

#include "tests/audio/window_stand_in.h"
#include "tests/support/private_bus.h"

namespace norvane::audio {
namespace {

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int v : values) bytes.append(static_cast<char>(v));
  return bytes;
}

class RecordSenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureCoreApplication(); }
  void SetUp() override {
    if (!bus_.Start()) GTEST_SKIP() << "no D-Bus daemon";
  }
  void TearDown() override { bus_.Stop(); }
  norvane::testing::PrivateBus bus_;
};

TEST_F(RecordSenderTest, RecordsReachTheWindowInOrderAsLittleEndianValuesAndAskForNoAnswer) {
  WindowStandIn window(bus_.Address());
  ASSERT_TRUE(window.registered_);
  RecordSender sender;
  std::string why;
  ASSERT_TRUE(sender.Connect(bus_.Address().toStdString(), why)) << why;

  const std::array<std::int32_t, 4> levels = {1, -2, 0x01020304, 2000};
  const std::array<std::int32_t, 6> bands = {255, 0, 128, 7, 64, 32};
  EXPECT_TRUE(sender.Send(RecordSender::kLevelsRecord, levels));
  EXPECT_TRUE(sender.Send(RecordSender::kBandsRecord, bands));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Records().size() == 2; }, 5000));

  const auto records = window.Records();
  EXPECT_EQ(std::get<0>(records[0]), 1);
  EXPECT_EQ(std::get<1>(records[0]),
            Bytes({0x01, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xD0, 0x07, 0, 0}));
  EXPECT_EQ(std::get<0>(records[1]), 2);
  EXPECT_EQ(std::get<1>(records[1]),
            Bytes({0xFF, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 7, 0, 0, 0, 0x40, 0, 0, 0, 0x20, 0, 0, 0}));
  EXPECT_EQ(window.AskedForReply(), 0);
}

TEST_F(RecordSenderTest, WithoutAWindowNoSendWaitsAndAWindowThatStartsLaterGetsTheNextRecords) {
  RecordSender sender;
  std::string why;
  ASSERT_TRUE(sender.Connect(bus_.Address().toStdString(), why)) << why;
  const std::array<std::int32_t, 500> silence{};
  // Half a second's worth, with nobody to take them: none waits, none is refused.
  for (int i = 0; i < 50; ++i) EXPECT_TRUE(sender.Send(RecordSender::kLevelsRecord, silence)) << i;

  WindowStandIn window(bus_.Address());
  ASSERT_TRUE(window.registered_);
  const std::array<std::int32_t, 1> marked = {42};
  EXPECT_TRUE(sender.Send(RecordSender::kLevelsRecord, marked));
  // (A few silent ones still on their way when the window took its name may come before it. What the bus
  // socket did not take at once goes out with the next record, as the sound keeps coming.)
  bool arrived = false;
  for (int i = 0; i < 500 && !arrived; ++i) {
    QTest::qWait(10);
    for (const auto& record : window.Records())
      arrived = arrived || std::get<1>(record) == Bytes({42, 0, 0, 0});
    EXPECT_TRUE(sender.Send(RecordSender::kLevelsRecord, silence));
  }
  EXPECT_TRUE(arrived);
}

TEST_F(RecordSenderTest, ABusThatGoesAwayEndsTheRecordsNotTheProgram) {
  RecordSender sender;
  std::string why;
  ASSERT_TRUE(sender.Connect(bus_.Address().toStdString(), why)) << why;
  bus_.Stop();
  const std::array<std::int32_t, 500> silence{};
  // The loss shows within a few records (a write that fails, or the hang-up read); this process lives on.
  bool refused = false;
  for (int i = 0; i < 200 && !refused; ++i) {
    refused = !sender.Send(RecordSender::kLevelsRecord, silence);
    if (!refused) QTest::qWait(10);
  }
  EXPECT_TRUE(refused);
  EXPECT_FALSE(sender.IsConnected());
}

TEST(RecordSender, NoBusAtTheAddressIsReportedWithAReason) {
  RecordSender sender;
  std::string why;
  EXPECT_FALSE(sender.Connect("unix:path=/nonexistent/norvane-test-bus", why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(sender.IsConnected());
  const std::array<std::int32_t, 1> one = {1};
  EXPECT_FALSE(sender.Send(RecordSender::kLevelsRecord, one));
}

}  // namespace
}  // namespace norvane::audio
