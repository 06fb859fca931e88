// The program on the bus: one primary instance, the raise call of a second start, real command-line clients,
// record cutting, calls that must be ignored, broadcasts, companion calls, and running without a bus.

#include "app/instance_bus.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QStandardPaths>
#include <QTest>
#include <vector>

#include "app/copy_data_record.h"
#include "tests/appbus/bus_test_environment.h"

namespace norvane::app {
namespace {

using test::RunClient;
using test::TestBusAddress;
using test::TestServiceName;

// Records what a handler receives.
struct Inbox {
  std::vector<BusMessage> messages;
  BusMessageHandler Handler() {
    return [this](const BusMessage& message) { messages.push_back(message); };
  }
  bool WaitForCount(std::size_t count) {
    return QTest::qWaitFor([&] { return messages.size() >= count; }, 5000);
  }
};

class InstanceBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (TestBusAddress().isEmpty()) GTEST_SKIP() << "no D-Bus bus available";
    options_.busAddress = TestBusAddress();
    options_.serviceName = TestServiceName("Primary");
  }

  // dbus-send aimed at the primary's name, with the message's own arguments.
  int DbusSend(const QString& member, const QStringList& arguments) const {
    QStringList all = {QStringLiteral("--bus=") + options_.busAddress,
                       QStringLiteral("--type=method_call"),
                       QStringLiteral("--print-reply"),
                       QStringLiteral("--dest=") + options_.serviceName,
                       kBusObjectPath,
                       kBusInterface + QLatin1Char('.') + member};
    all += arguments;
    return RunClient(QStringLiteral("dbus-send"), all);
  }

  InstanceBusOptions options_;
};

TEST_F(InstanceBusTest, SecondStartFindsThePrimaryAndRaisesIt) {
  Inbox first_inbox;
  auto first = std::make_unique<CInstanceBus>(first_inbox.Handler(), options_);
  ASSERT_TRUE(first->TryBecomePrimary());
  EXPECT_TRUE(first->IsPrimary());

  Inbox second_inbox;
  CInstanceBus second(second_inbox.Handler(), options_);
  EXPECT_FALSE(second.TryBecomePrimary());
  EXPECT_FALSE(second.IsPrimary());
  EXPECT_TRUE(second.AskPrimaryToRaise());

  ASSERT_EQ(first_inbox.messages.size(), 1u);
  EXPECT_EQ(first_inbox.messages[0].id, RegisteredMessage::kInstanceMessage);
  EXPECT_EQ(first_inbox.messages[0].wParam, 0);
  EXPECT_EQ(first_inbox.messages[0].lParam, 1);
  EXPECT_TRUE(second_inbox.messages.empty());

  // When the primary ends, its name is free for the next start.
  first.reset();
  CInstanceBus third(Inbox().Handler(), options_);
  EXPECT_TRUE(QTest::qWaitFor([&] { return third.TryBecomePrimary(); }, 5000));
}

TEST_F(InstanceBusTest, DbusSendDeliversMessagesOfTheOneSignatureAndRefusesOthers) {
  Inbox inbox;
  CInstanceBus primary(inbox.Handler(), options_);
  ASSERT_TRUE(primary.TryBecomePrimary());

  EXPECT_EQ(DbusSend(kBusPostMethod, {QStringLiteral("string:{4695579F-999A-41d4-9FAF-EFFCE93EBF17}"),
                                      QStringLiteral("int64:1"), QStringLiteral("int64:-5000000000")}),
            0);
  // Post is (s, x, x) only: a client that reads the introspection knows what to send, and int32 values
  // are answered with an error rather than guessed at.
  EXPECT_NE(DbusSend(kBusPostMethod, {QStringLiteral("string:Game_Kill"), QStringLiteral("int32:2"),
                                      QStringLiteral("int32:-7")}),
            0);
  EXPECT_EQ(DbusSend(kBusPostMethod, {QStringLiteral("string:R27 有线"), QStringLiteral("int64:0"),
                                      QStringLiteral("int64:1")}),
            0);
  ASSERT_TRUE(inbox.WaitForCount(2));
  QTest::qWait(50);
  ASSERT_EQ(inbox.messages.size(), 2u);
  EXPECT_EQ(inbox.messages[0].id, RegisteredMessage::kLightControlRequestMessage);
  EXPECT_EQ(inbox.messages[0].wParam, 1);
  EXPECT_EQ(inbox.messages[0].lParam, -5000000000LL);
  EXPECT_FALSE(inbox.messages[0].data.has_value());
  EXPECT_EQ(inbox.messages[1].id, RegisteredMessage::kInstanceMessage);
  EXPECT_EQ(inbox.messages[1].lParam, 1);
}

TEST_F(InstanceBusTest, GdbusReachesBothMethodsThroughIntrospection) {
  if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
    GTEST_SKIP() << "gdbus is not installed";
  Inbox inbox;
  CInstanceBus primary(inbox.Handler(), options_);
  ASSERT_TRUE(primary.TryBecomePrimary());
  const QStringList target = {QStringLiteral("call"), QStringLiteral("--address"),
                              options_.busAddress,    QStringLiteral("--dest"),
                              options_.serviceName,   QStringLiteral("--object-path"),
                              kBusObjectPath,         QStringLiteral("--method")};

  EXPECT_EQ(
      RunClient(QStringLiteral("gdbus"),
                target + QStringList{kBusInterface + QStringLiteral(".Post"), QStringLiteral("Game_Death"),
                                     QStringLiteral("2"), QStringLiteral("9")}),
      0);
  EXPECT_EQ(RunClient(QStringLiteral("gdbus"),
                      target + QStringList{kBusInterface + QStringLiteral(".CopyData"), QStringLiteral("2"),
                                           QStringLiteral("[1, 2, 3, 4]")}),
            0);
  ASSERT_TRUE(inbox.WaitForCount(2));
  EXPECT_EQ(inbox.messages[0].id, RegisteredMessage::kGameDeath);
  EXPECT_EQ(inbox.messages[0].wParam, 2);
  EXPECT_EQ(inbox.messages[0].lParam, 9);
  EXPECT_EQ(inbox.messages[1].id, RegisteredMessage::kCopyData);
  EXPECT_EQ(inbox.messages[1].data, QByteArray("\x01\x02\x03\x04"));
}

TEST_F(InstanceBusTest, RecordsAreCutToTheReceivingBuffer) {
  Inbox inbox;
  CInstanceBus primary(inbox.Handler(), options_);
  ASSERT_TRUE(primary.TryBecomePrimary());

  // Bands from the command line: 7 values where the buffer holds 6.
  QStringList bytes;
  for (int i = 0; i < 28; ++i) bytes << QString::number(i);
  EXPECT_EQ(DbusSend(kBusCopyDataMethod, {QStringLiteral("int64:2"),
                                          QStringLiteral("array:byte:") + bytes.join(QLatin1Char(','))}),
            0);
  ASSERT_TRUE(inbox.WaitForCount(1));
  ASSERT_TRUE(inbox.messages[0].data.has_value());
  EXPECT_EQ(inbox.messages[0].id, RegisteredMessage::kCopyData);
  EXPECT_EQ(inbox.messages[0].wParam, kCopyDataAudioBands);
  EXPECT_EQ(inbox.messages[0].lParam, kAudioBandBufferBytes);
  EXPECT_EQ(inbox.messages[0].data->size(), kAudioBandBufferBytes);
  EXPECT_EQ(inbox.messages[0].data->at(23), 23);

  // Sound levels from another program on the bus: 600 values where the buffer holds 500; a short record
  // passes whole.
  InstanceBusOptions sender_options = options_;
  sender_options.serviceName = TestServiceName("Sender");
  CInstanceBus sender(Inbox().Handler(), sender_options);
  QByteArray levels(600 * 4, '\x01');
  levels[kSoundLevelBufferBytes - 1] = '\x7f';
  ASSERT_TRUE(sender.SendCopyDataTo(options_.serviceName, kCopyDataSoundLevels, levels));
  ASSERT_TRUE(sender.SendCopyDataTo(options_.serviceName, kCopyDataSoundLevels, QByteArray(8, '\x02')));
  ASSERT_TRUE(inbox.WaitForCount(3));
  EXPECT_EQ(inbox.messages[1].wParam, kCopyDataSoundLevels);
  EXPECT_EQ(inbox.messages[1].data->size(), kSoundLevelBufferBytes);
  EXPECT_EQ(inbox.messages[1].data->back(), '\x7f');
  EXPECT_EQ(inbox.messages[2].data->size(), 8);
}

TEST_F(InstanceBusTest, UnexpectedCallsAreIgnored) {
  Inbox inbox;
  CInstanceBus primary(inbox.Handler(), options_);
  ASSERT_TRUE(primary.TryBecomePrimary());

  const QString game = QStringLiteral("string:Game_Start");
  // Wrong parameter types or counts.
  EXPECT_NE(DbusSend(kBusPostMethod, {game, QStringLiteral("string:1"), QStringLiteral("int64:1")}), 0);
  EXPECT_NE(DbusSend(kBusPostMethod, {game, QStringLiteral("int64:1")}), 0);
  EXPECT_NE(DbusSend(kBusPostMethod, {game, QStringLiteral("int32:1"), QStringLiteral("int64:1")}), 0);
  EXPECT_NE(DbusSend(kBusPostMethod, {game, QStringLiteral("double:1"), QStringLiteral("double:1")}), 0);
  EXPECT_NE(DbusSend(kBusCopyDataMethod, {QStringLiteral("int64:1"), QStringLiteral("string:levels")}), 0);
  // Names this program does not receive: unknown, differently cased, or one it only sends.
  EXPECT_NE(DbusSend(kBusPostMethod, {QStringLiteral("string:Game_Restart"), QStringLiteral("int64:0"),
                                      QStringLiteral("int64:0")}),
            0);
  EXPECT_NE(DbusSend(kBusPostMethod, {QStringLiteral("string:game_start"), QStringLiteral("int64:0"),
                                      QStringLiteral("int64:0")}),
            0);
  EXPECT_NE(DbusSend(kBusPostMethod, {QStringLiteral("string:{4695579F-999A-41d4-9FAF-EFFCE93EBF16}"),
                                      QStringLiteral("int64:1"), QStringLiteral("int64:1")}),
            0);
  // Records of another kind, or empty ones.
  EXPECT_NE(DbusSend(kBusCopyDataMethod, {QStringLiteral("int64:5"), QStringLiteral("array:byte:1,2,3,4")}),
            0);
  EXPECT_NE(DbusSend(kBusCopyDataMethod, {QStringLiteral("int64:1"), QStringLiteral("array:byte:")}), 0);

  // A proper message still gets through afterwards, and is the only one delivered.
  EXPECT_EQ(DbusSend(kBusPostMethod, {game, QStringLiteral("int64:0"), QStringLiteral("int64:3")}), 0);
  ASSERT_TRUE(inbox.WaitForCount(1));
  QTest::qWait(50);
  ASSERT_EQ(inbox.messages.size(), 1u);
  EXPECT_EQ(inbox.messages[0].id, RegisteredMessage::kGameStart);
  EXPECT_EQ(inbox.messages[0].lParam, 3);
}

// Catches the Broadcast signal as any listening program would.
class BroadcastListener : public QObject {
  Q_OBJECT
 public slots:
  void OnBroadcast(const QString& name, qlonglong wParam, qlonglong lParam) {
    received.push_back({name, wParam, lParam});
  }

 public:
  struct Heard {
    QString name;
    qlonglong wParam;
    qlonglong lParam;
  };
  std::vector<Heard> received;
};

TEST_F(InstanceBusTest, BroadcastReachesListenersWithTheRegisteredName) {
  CInstanceBus primary(Inbox().Handler(), options_);
  ASSERT_TRUE(primary.TryBecomePrimary());

  QDBusConnection listening = QDBusConnection::connectToBus(TestBusAddress(), QStringLiteral("listener"));
  BroadcastListener listener;
  ASSERT_TRUE(listening.connect(QString(), kBusObjectPath, kBusInterface, kBusBroadcastSignal, &listener,
                                SLOT(OnBroadcast(QString, qlonglong, qlonglong))));
  ASSERT_TRUE(primary.Broadcast(RegisteredMessage::kLightControlStateMessage, 1, 0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.received.empty(); }, 5000));
  EXPECT_EQ(listener.received[0].name, QStringLiteral("{4695579F-999A-41d4-9FAF-EFFCE93EBF16}"));
  EXPECT_EQ(listener.received[0].wParam, 1);
  EXPECT_EQ(listener.received[0].lParam, 0);
  QDBusConnection::disconnectFromBus(QStringLiteral("listener"));
}

TEST_F(InstanceBusTest, CompanionsAreReachedByTheirOwnNamesOnlyWhileRunning) {
  CInstanceBus primary(Inbox().Handler(), options_);
  ASSERT_TRUE(primary.TryBecomePrimary());

  const QString companion_name = TestServiceName("Companion");
  EXPECT_FALSE(primary.PostTo(companion_name, RegisteredMessage::kGameEnd, 1, 2));
  EXPECT_FALSE(primary.SendCopyDataTo(companion_name, kCopyDataSoundLevels, QByteArray(4, '\0')));

  Inbox companion_inbox;
  InstanceBusOptions companion_options = options_;
  companion_options.serviceName = companion_name;
  CInstanceBus companion(companion_inbox.Handler(), companion_options);
  ASSERT_TRUE(companion.TryBecomePrimary());
  EXPECT_TRUE(primary.PostTo(companion_name, RegisteredMessage::kGameEnd, 1, 2));
  ASSERT_TRUE(companion_inbox.WaitForCount(1));
  EXPECT_EQ(companion_inbox.messages[0].id, RegisteredMessage::kGameEnd);
  EXPECT_EQ(companion_inbox.messages[0].wParam, 1);
  EXPECT_EQ(companion_inbox.messages[0].lParam, 2);
}

TEST(InstanceBusWithoutBus, RunsAsTheOnlyInstanceAndSaysSoOnce) {
  InstanceBusOptions options;
  options.busAddress = QStringLiteral("unix:path=/nonexistent/norvane-test-bus");
  ::testing::internal::CaptureStderr();
  {
    CInstanceBus alone(Inbox().Handler(), options);
    EXPECT_TRUE(alone.TryBecomePrimary());
    EXPECT_TRUE(alone.TryBecomePrimary());
    EXPECT_FALSE(alone.HasBus());
    EXPECT_FALSE(alone.IsPrimary());
    EXPECT_FALSE(alone.AskPrimaryToRaise());
    EXPECT_FALSE(alone.Broadcast(RegisteredMessage::kLightControlStateMessage, 1, 1));
    EXPECT_FALSE(alone.PostTo(kAudioCaptureServiceName, RegisteredMessage::kAudioCaptureMessage, 2, 0));
  }
  const std::string output = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
  EXPECT_NE(output.find("only instance"), std::string::npos) << output;
}

TEST(InstanceBusWithoutBus, UnsetSessionAddressMeansNoBus) {
  // The session bus is looked up once per process; this must be the process's first use of it.
  qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  qunsetenv("DISPLAY");  // no X11 session bus to start on demand either
  ::testing::internal::CaptureStderr();
  {
    CInstanceBus alone(Inbox().Handler());
    EXPECT_TRUE(alone.TryBecomePrimary());
    EXPECT_FALSE(alone.HasBus());
  }
  const std::string output = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("no D-Bus session bus"), std::string::npos) << output;
}

}  // namespace
}  // namespace norvane::app

#include "instance_bus_test.moc"
