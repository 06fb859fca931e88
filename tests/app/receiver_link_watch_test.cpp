// A mouse reached through its receiver, whose page's worker is writing while its tab asks on a timer
// whether the link is up: the window does not wait for the worker's command, and the mouse stays shown.
#include <gtest/gtest.h>

#include <QTest>

#include "devices/mouse/mouse_device.h"
#include "tests/app/window_fixture.h"
#include "tests/support/stall_meter.h"

namespace norvane::app::test {
namespace {

using std::chrono::milliseconds;

class ReceiverLinkWatchTest : public WindowOnEmulatorTest {
 protected:
  ReceiverLinkWatchTest() { models_ = {DeviceModel::kKeyboard, DeviceModel::kMouseReceiver}; }

  controls::CDevicePageUI* MousePage() const { return PageOfKind(hid::DeviceKind::kMouse); }
  devices::CNorvaneMouseDevice* Mouse() const {
    return MousePage() ? dynamic_cast<devices::CNorvaneMouseDevice*>(MousePage()->Device()) : nullptr;
  }
  emulator::DeviceId MouseId() const { return backend_->FindDevice(DeviceModel::kMouseReceiver).value_or(-1); }
};

TEST_F(ReceiverLinkWatchTest, ASlowWriteOfTheMousesWorkerDoesNotFreezeTheWindow) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return Mouse() && TabVisible(MousePage()) && Mouse()->LastLiveReadResult() == 1; },
                              8000));
  SelectTab(MousePage());
  Select(MousePage(), "system_Op_tab");
  // The mouse takes 4.8 seconds to answer the settings write (within the receiver's five): the worker holds
  // the channel all that time, and the tab's link watch (every three seconds) comes round meanwhile, at the
  // latest three seconds in.
  backend_->AddFault(MouseId(), {.kind = emulator::FaultKind::kLateReply, .command = kWriteSettings,
                                 .delay = milliseconds(4800)});
  norvane::testing::StallMeter meter;
  Select(MousePage(), "polling_rate_option_2");
  meter.Restart();
  QTest::qWait(5000);
  EXPECT_LT(meter.Longest(), milliseconds(1000)) << "the UI thread waited for the worker's command";
  EXPECT_TRUE(TabVisible(MousePage())) << "a round left out is not a link lost";

  Mouse()->WaitForSettingsWrites();
  EXPECT_EQ(backend_->ReadMemory(MouseId(), MemoryArea::kSettings, 11, 1), std::vector<std::uint8_t>{2})
      << "record byte 11 holds the report rate: the slow write went through";
  EXPECT_TRUE(prompts_.told.empty());
}

}  // namespace
}  // namespace norvane::app::test
