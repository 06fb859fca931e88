// Companion programs reach the main window over the bus with real clients: every registered message keeps
// its two parameters, data records are cut to their buffers, and parameters the window does not expect are
// ignored.

#include <QDBusConnection>
#include <cstring>

#include "app/copy_data_record.h"
#include "app/instance_bus.h"
#include "app/main_messages.h"
#include "app/sleep_monitor.h"
#include "tests/app/main_window_fixture.h"

namespace norvane::app::test {
namespace {

class CompanionMessagesTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (TestBusAddress().isEmpty()) GTEST_SKIP() << "no D-Bus bus available";
    busOptions_.busAddress = TestBusAddress();
    busOptions_.serviceName = TestServiceName("Main");
    bus_ = std::make_unique<CInstanceBus>(
        [this](const BusMessage& message) {
          if (window_) window_->OnBusMessage(message);
        },
        busOptions_);
    ASSERT_TRUE(bus_->TryBecomePrimary());
    MainWndOptions options = Options();
    options.bus = bus_.get();
    Start(std::move(options));
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    bus_.reset();
  }

  int Send(const QString& member, const QStringList& arguments) {
    QStringList all = {QStringLiteral("--bus=") + busOptions_.busAddress,
                       QStringLiteral("--type=method_call"),
                       QStringLiteral("--print-reply"),
                       QStringLiteral("--dest=") + busOptions_.serviceName,
                       kBusObjectPath,
                       kBusInterface + QLatin1Char('.') + member};
    all += arguments;
    return RunClient(QStringLiteral("dbus-send"), all);
  }
  int Post(RegisteredMessage id, qint64 wParam, qint64 lParam) {
    const QString result = Send(kBusPostMethod, {QStringLiteral("string:") + RegisteredMessageQName(id),
                                                 QStringLiteral("int64:%1").arg(wParam),
                                                 QStringLiteral("int64:%1").arg(lParam)}) == 0
                               ? QString()
                               : QStringLiteral("failed");
    // Posted messages run on the UI thread's next turn.
    QTest::qWait(20);
    return result.isEmpty() ? 0 : 1;
  }
  // int32 values as little-endian bytes in dbus-send's array syntax.
  static QString Bytes(int count, int firstValue) {
    QStringList bytes;
    for (int i = 0; i < count; ++i) {
      const std::int32_t value = firstValue + i;
      unsigned char raw[4];
      std::memcpy(raw, &value, 4);
      for (unsigned char b : raw) bytes << QString::number(b);
    }
    return QStringLiteral("array:byte:") + bytes.join(',');
  }

  InstanceBusOptions busOptions_;
  std::unique_ptr<CInstanceBus> bus_;
};

TEST_F(CompanionMessagesTest, ASecondStartsRaiseShowsTheWindowBeforeTheScanDoes) {
  EXPECT_FALSE(window_->IsWindowVisible());
  ASSERT_EQ(Post(RegisteredMessage::kInstanceMessage, 0, 1), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->IsShowing(); }, 3000));
}

TEST_F(CompanionMessagesTest, MessagesReachTheWindowWithTheirParameters) {
  using enum RegisteredMessage;
  ASSERT_EQ(Post(kLightControlRequestMessage, 1, 0), 0);
  ASSERT_EQ(Post(kGameStart, 1, 7), 0);
  ASSERT_EQ(Post(kGameDeath, 2, 3), 0);
  ASSERT_EQ(Post(kHookKeySingleKey, 65, 0x1E0001), 0);
  ASSERT_EQ(Post(kHookKeyMsMacroLater, 4, 9), 0);
  ASSERT_EQ(Post(kDeviceListRequestMessage, 0, 0), 0);
  QTest::qWait(50);

  EXPECT_FALSE(window_->LightControl());
  EXPECT_EQ(log_.lightControl, std::vector<bool>{false});
  EXPECT_EQ(log_.gameEvents, (std::vector<std::pair<ui::WPARAM, ui::LPARAM>>{{1, 7}, {2, 3}}));
  // The editor hook messages arrive and are dropped: only the program's own capture feeds the editors
  // (a recording test shows no step comes of them).
  EXPECT_EQ(log_.deviceListRequests, 1);
}

TEST_F(CompanionMessagesTest, UnexpectedParametersAndSleepKeepMessagesOut) {
  using enum RegisteredMessage;
  ASSERT_EQ(Post(kLightControlRequestMessage, 2, 0), 0);
  ASSERT_EQ(Post(kLightControlRequestMessage, 1, 5), 0);
  ASSERT_EQ(Post(kGameEnd, 3, 1), 0);
  ASSERT_EQ(Post(kInstanceMessage, 0, 42), 0);
  // Admitted but not acted on.
  ASSERT_EQ(Post(kHookKeyHitKey, 1, 1), 0);
  ASSERT_EQ(Post(kMouseMove, 1, 1), 0);
  window_->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  ASSERT_EQ(Post(kHookKeySingleKey, 65, 0), 0);
  ASSERT_EQ(Post(kGameStart, 0, 1), 0);
  QTest::qWait(50);

  EXPECT_TRUE(window_->LightControl());
  // (1, 5) has the pages take the current state again; then the sleep's own switch-off.
  EXPECT_EQ(log_.lightControl, (std::vector<bool>{true, false}));
  EXPECT_TRUE(log_.gameEvents.empty());
  EXPECT_FALSE(window_->IsWindowVisible());
}

TEST_F(CompanionMessagesTest, DataRecordsAreCutToTheirBuffers) {
  // 520 levels where 500 fit; 10 bands where 6 fit.
  ASSERT_EQ(Send(kBusCopyDataMethod, {QStringLiteral("int64:1"), Bytes(520, 100)}), 0);
  ASSERT_EQ(Send(kBusCopyDataMethod, {QStringLiteral("int64:2"), Bytes(10, -3)}), 0);
  // Unknown kind: refused, nothing reaches the window.
  Send(kBusCopyDataMethod, {QStringLiteral("int64:7"), Bytes(4, 1)});
  QTest::qWait(50);

  EXPECT_EQ(log_.levelCounts, std::vector<std::size_t>{500});
  EXPECT_EQ(window_->SoundLevels().front(), 100);
  EXPECT_EQ(window_->SoundLevels().back(), 599);
  EXPECT_EQ(log_.bandCounts, std::vector<std::size_t>{6});
  EXPECT_EQ(window_->AudioBands().front(), -3);
  EXPECT_EQ(window_->AudioBands().back(), 2);

  // A record that ends inside a value: only the whole values count; an empty one is nothing.
  window_->OnCopyData(kCopyDataAudioBands, QByteArray(6, '\x01'));
  window_->OnCopyData(kCopyDataSoundLevels, QByteArray());
  EXPECT_EQ(log_.bandCounts, (std::vector<std::size_t>{6, 1}));
  EXPECT_EQ(log_.levelCounts.size(), 1u);
}

TEST_F(CompanionMessagesTest, TheSystemsSleepSignalSuspendsAndResumesTheWindow) {
  QDBusConnection connection =
      QDBusConnection::connectToBus(busOptions_.busAddress, QStringLiteral("sleep-test"));
  {
    // Any sender will do on the private bus; the program listens to logind's on the system bus.
    CSleepMonitor monitor(window_->GetHWND(), connection, QString());
    ASSERT_TRUE(monitor.IsWatching());
    auto emitSleep = [&](bool sleeping) {
      return RunClient(QStringLiteral("dbus-send"),
                       {QStringLiteral("--bus=") + busOptions_.busAddress, QStringLiteral("--type=signal"),
                        QStringLiteral("/org/freedesktop/login1"),
                        QStringLiteral("org.freedesktop.login1.Manager.PrepareForSleep"),
                        sleeping ? QStringLiteral("boolean:true") : QStringLiteral("boolean:false")});
    };
    ASSERT_EQ(emitSleep(true), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window_->IsAwake(); }, 3000));
    ASSERT_EQ(emitSleep(false), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window_->IsAwake(); }, 3000));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("sleep-test"));
}

}  // namespace
}  // namespace norvane::app::test
