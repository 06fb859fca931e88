// norvanectl while the window runs: its setting commands go to the window over the session bus, the window
// runs them on its own pages' devices, the page shows the change at once and the device's memory holds it;
// a window that holds its name but does not answer is reported, and its devices are left alone.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "app/instance_bus.h"
#include "devices/mouse/mouse_device.h"
#include "tests/app/window_fixture.h"
#include "tests/support/private_bus.h"
#include "tests/support/program_starts.h"
#include "uilib/edit.h"

namespace norvane::app::test {
namespace {

const QString kNorvanectl = QStringLiteral(NORVANE_BINARY_DIR "/bin/norvanectl");
constexpr std::size_t kStagesByte = 14;  // stage n of the mouse's record sits at 14 + 9n

struct ToolRun {
  int exit = -1;
  std::string out;
  std::string err;
};

// norvanectl on the test's private bus. With `answer` the event loop spins meanwhile, so that the window
// living in this very process takes the call; without it the window's thread is busy, as a hung window's.
ToolRun RunTool(const QString& busAddress, const QStringList& arguments, bool answer) {
  QProcess tool;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
  tool.setProcessEnvironment(environment);
  tool.start(kNorvanectl, arguments);
  const bool ended = answer ? QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 20000)
                            : tool.waitForFinished(20000);
  if (!ended) {
    tool.kill();
    tool.waitForFinished(1000);
    return {-1, {}, "norvanectl did not end within 20 s"};
  }
  return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
          tool.readAllStandardOutput().toStdString(), tool.readAllStandardError().toStdString()};
}

class CommandHandoverTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    if (!norvane::testing::kTestsStartPrograms) GTEST_SKIP() << norvane::testing::kNoProgramsUnderThreadSanitizer;
    if (!bus_.Start()) GTEST_SKIP() << "no dbus-daemon";
    WindowOnEmulatorTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(QTest::qWaitFor([&] { return TabVisible(MousePage()) && Mouse().LastLiveReadResult() == 1; }, 15000))
        << "the mouse page did not show its synced device";
    InstanceBusOptions options;
    options.busAddress = bus_.Address();
    options.commands = [this](const std::vector<std::string>& words) { return window_->RunBusCommand(words); };
    instance_ = std::make_unique<CInstanceBus>(BusMessageHandler{}, std::move(options));
    ASSERT_TRUE(instance_->TryBecomePrimary());
    ASSERT_TRUE(instance_->IsPrimary());
  }
  void TearDown() override {
    instance_.reset();
    WindowOnEmulatorTest::TearDown();
    bus_.Stop();
  }

  controls::CDevicePageUI* MousePage() const { return PageOfKind(hid::DeviceKind::kMouse); }
  devices::CNorvaneMouseDevice& Mouse() const {
    return *dynamic_cast<devices::CNorvaneMouseDevice*>(MousePage()->Device());
  }
  std::vector<uint8_t> MouseRecord() const {
    return backend_->ReadMemory(backend_->FindDevice(DeviceModel::kMouse).value_or(-1), MemoryArea::kSettings, 0, 71);
  }
  std::vector<uint8_t> KeyboardTable() const {
    return backend_->ReadMemory(KeyboardId(), MemoryArea::kKeyTable, 0, 510);
  }
  static int PositionOf(const std::vector<uint8_t>& table, const std::vector<uint8_t>& code) {
    for (std::size_t at = 0; at + 3 <= table.size(); at += 3) {
      if (std::equal(code.begin(), code.end(), table.begin() + std::ptrdiff_t(at))) return int(at / 3);
    }
    return -1;
  }

  norvane::testing::PrivateBus bus_;
  std::unique_ptr<CInstanceBus> instance_;
};

TEST_F(CommandHandoverTest, DpiAndKeyCommandsRunInTheWindowWhosePageShowsTheChange) {
  SelectTab(MousePage());
  const ToolRun dpi = RunTool(bus_.Address(), {"dpi", "set", "1", "800"}, true);
  ASSERT_EQ(dpi.exit, 0) << dpi.err;
  EXPECT_EQ(dpi.out, "stage 1: 800 DPI\n");
  // The emulated sensor starts at 100 DPI in steps of 100: 800 DPI is position 7.
  EXPECT_EQ(MouseRecord()[kStagesByte + 2], 7);
  auto* edit = dynamic_cast<ui::CEditUI*>(InPage(MousePage(), "DPI_edit_0"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetText(), "800") << "the page shows the stage's new value without a restart";

  const int a = PositionOf(KeyboardTable(), {0x20, 0x00, 0x04});
  ASSERT_GE(a, 0);
  const ToolRun key = RunTool(bus_.Address(), {"key", "set", "A", "media:volume-up", "--device", "keyboard"}, true);
  ASSERT_EQ(key.exit, 0) << key.err;
  // Volume up: type 0x30, consumer usage 0x00E9 low byte first.
  const std::vector<uint8_t> table = KeyboardTable();
  EXPECT_EQ(std::vector<uint8_t>(table.begin() + 3 * a, table.begin() + 3 * a + 3), (std::vector<uint8_t>{0x30, 0xE9, 0x00}));

  // The window's answers carry the command's own refusals and JSON.
  const ToolRun wrong = RunTool(bus_.Address(), {"dpi", "set", "9", "800"}, true);
  EXPECT_EQ(wrong.exit, 2);
  EXPECT_NE(wrong.err.find("no stage 9"), std::string::npos) << wrong.err;
  const ToolRun shown = RunTool(bus_.Address(), {"--json", "dpi", "show"}, true);
  EXPECT_EQ(shown.exit, 0) << shown.err;
  EXPECT_NE(shown.out.find("\"dpi\" : 800"), std::string::npos) << shown.out;

  // Reading the information blocks would open the devices under the window: refused.
  const ToolRun info = RunTool(bus_.Address(), {"info"}, true);
  EXPECT_EQ(info.exit, 1);
  EXPECT_NE(info.err.find("the window program runs"), std::string::npos) << info.err;
}

TEST_F(CommandHandoverTest, AWindowThatDoesNotAnswerIsReportedAndItsDevicesAreLeftAlone) {
  // Only the stage the command names is compared: the window's own start-up work on other bytes may still
  // land while its thread is held.
  const uint8_t before = MouseRecord()[kStagesByte + 2];
  ASSERT_NE(before, 7) << "the stage must not already hold 800 DPI";
  const ToolRun run = RunTool(bus_.Address(), {"dpi", "set", "1", "800", "--device", "mouse"}, false);
  EXPECT_EQ(run.exit, 1) << "stdout: " << run.out << "\nstderr: " << run.err;
  EXPECT_NE(run.err.find("the window program does not answer"), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one message, nothing else: " << run.err;
  EXPECT_EQ(MouseRecord()[kStagesByte + 2], before);
}

}  // namespace
}  // namespace norvane::app::test
