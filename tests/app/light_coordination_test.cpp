// Who drives the device lighting, in the real window on emulated devices: another program's requests
// switch the pages and the label, a click on the label switches it back, the pages' control goes off in
// sleep and comes back on waking only while the lighting is this program's, and a device that lost its
// lighting in the sleep gets the user's lighting written again.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/main_messages.h"
#include "tests/app/window_fixture.h"
#include "uilib/combo.h"

namespace norvane::app::test {
namespace {

constexpr uint8_t kTakeLightControl = 0x1C;

class LightCoordinationTest : public WindowOnEmulatorTest {
 protected:
  void Request(RegisteredMessage id, ui::WPARAM wParam, ui::LPARAM lParam) {
    window_->SendMessage(RegisteredMessageId(id), wParam, lParam);
  }
  void LightControlRequest(ui::WPARAM wParam, ui::LPARAM lParam) {
    Request(RegisteredMessage::kLightControlRequestMessage, wParam, lParam);
  }
  void Suspend() { window_->SendMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0); }
  void Resume() { window_->SendMessage(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }
  ui::CDuiString LabelTextId() const { return window_->FindControl("control_light_status")->GetTextId(); }
  bool PagesHaveControl(bool on) const {
    return Keyboard().HasLightControl() == on &&
           PageOfKind(hid::DeviceKind::kMouse)->Device()->HasLightControl() == on;
  }
  int Sent(uint8_t code) const {
    const std::vector<uint8_t> codes = SentCodes();
    return int(std::count(codes.begin(), codes.end(), code));
  }
  void ChooseMode(int mode) {
    Select(KeyboardPage(), "deng_Op_tab");
    auto* modes = dynamic_cast<ui::CComboUI*>(InPage(KeyboardPage(), "light_combo_modeSelect"));
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->SelectItem(mode, false, true));
  }
  int SavedMode() const {
    const Json::Value document = JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile());
    return document["Device"][0]["LightInfo"]["SelectItem"].asInt();
  }
  // The keyboard loses its lighting: its settings record shows the factory effect (3) again.
  void KeyboardForgetsItsLighting() {
    const uint8_t factory = 3;
    ASSERT_TRUE(backend_->WriteMemory(KeyboardId(), MemoryArea::kSettings, 1, std::span(&factory, 1)));
  }
};

TEST_F(LightCoordinationTest, AnotherProgramsRequestsSwitchThePagesAndTheLabel) {
  EXPECT_EQ(LabelTextId(), "light_control_on_text");
  LightControlRequest(1, 0);
  EXPECT_FALSE(window_->LightControl());
  EXPECT_EQ(LabelTextId(), "light_control_off_text");
  EXPECT_TRUE(PagesHaveControl(false));

  LightControlRequest(2, 1);
  EXPECT_FALSE(window_->LightControl()) << "wParam other than 1 is not a request";
  LightControlRequest(1, 5);
  EXPECT_TRUE(PagesHaveControl(false)) << "another lParam applies the current state again";

  backend_->ClearFrameLog();
  LightControlRequest(1, 1);
  EXPECT_TRUE(window_->LightControl());
  EXPECT_EQ(LabelTextId(), "light_control_on_text");
  EXPECT_TRUE(PagesHaveControl(true));
  EXPECT_EQ(Sent(kTakeLightControl), 1) << "the keyboard takes the host's lighting";
  LightControlRequest(1, 5);
  EXPECT_EQ(Sent(kTakeLightControl), 2) << "and again when asked to apply the state";
}

TEST_F(LightCoordinationTest, TheLabelSwitchesTheControlBackAndForth) {
  ui::TNotifyUI click{ui::DUI_MSGTYPE_CLICK, window_->FindControl("control_light_status"), 0, 0};
  ASSERT_NE(click.pSender, nullptr);
  window_->Notify(click);
  EXPECT_FALSE(window_->LightControl());
  EXPECT_EQ(LabelTextId(), "light_control_off_text");
  EXPECT_TRUE(PagesHaveControl(false));
  window_->Notify(click);
  EXPECT_TRUE(window_->LightControl());
  EXPECT_EQ(LabelTextId(), "light_control_on_text");
  EXPECT_TRUE(PagesHaveControl(true));
}

TEST(LightControlTexts, TheChineseLabelTextsAreTheProgramsOwn) {
  std::ifstream file(NORVANE_SOURCE_DIR "/skin/lan_cn.xml");
  std::stringstream text;
  text << file.rdbuf();
  const QString cn = QString::fromStdString(text.str());
  EXPECT_TRUE(cn.contains(QStringLiteral(R"(<Text id="light_control_on_text" value="控制灯光"/>)")));
  EXPECT_TRUE(cn.contains(QStringLiteral(R"(<Text id="light_control_off_text" value="不控制灯光"/>)")));
}

TEST_F(LightCoordinationTest, AfterSleepTheUsersLightingIsWrittenAgainWhileItIsOurs) {
  ChooseMode(23);
  ASSERT_EQ(SettingsRecord()[1], 23);
  Suspend();
  EXPECT_TRUE(PagesHaveControl(false));
  KeyboardForgetsItsLighting();
  Resume();
  EXPECT_TRUE(PagesHaveControl(true));
  EXPECT_TRUE(QTest::qWaitFor([&] { return SettingsRecord()[1] == 23; }, 3000));
  EXPECT_EQ(SavedMode(), 23);
}

TEST_F(LightCoordinationTest, AfterSleepAnotherProgramsLightingIsLeftAlone) {
  ChooseMode(23);
  LightControlRequest(1, 0);
  Suspend();
  KeyboardForgetsItsLighting();
  backend_->ClearFrameLog();
  Resume();
  EXPECT_TRUE(PagesHaveControl(false));
  QTest::qWait(700);
  EXPECT_EQ(SettingsRecord()[1], 3);
  EXPECT_EQ(Sent(kWriteSettings), 0);
}

TEST_F(LightCoordinationTest, AKeyboardThatCameBackAsNewAfterSleepGetsTheUsersLighting) {
  ChooseMode(23);
  Suspend();
  backend_->Unplug(KeyboardId());
  Resume();
  // It comes back a while after the wake-up (once the program has seen it go), with its factory lighting.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !KeyboardPage()->IsChannelOpen(); }, 15000));
  KeyboardForgetsItsLighting();
  backend_->Plug(KeyboardId());
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return KeyboardPage()->IsChannelOpen() && SettingsRecord()[1] == 23; }, 8000))
      << "the keyboard shows " << int(SettingsRecord()[1]);
  EXPECT_EQ(SavedMode(), 23) << "the profile is not left with what the keyboard read back";
}

TEST_F(LightCoordinationTest, AKeyboardReenumeratedDuringSleepIsReopenedAndGetsTheUsersLighting) {
  ChooseMode(23);
  Suspend();
  // It lost its power in the sleep and came back as a new device under the same node before the wake-up.
  backend_->Unplug(KeyboardId());
  KeyboardForgetsItsLighting();
  backend_->Plug(KeyboardId());
  Resume();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return KeyboardPage()->IsChannelOpen() && SettingsRecord()[1] == 23; }, 8000))
      << "the keyboard shows " << int(SettingsRecord()[1]);
  EXPECT_EQ(SavedMode(), 23);
}

// The mouse arrives only once the window is open.
class LateMouseTest : public LightCoordinationTest {
 protected:
  LateMouseTest() {
    customise_ = [this](MainWndOptions&) { backend_->Unplug(MouseId()); };
  }
  emulator::DeviceId MouseId() const { return backend_->FindDevice(DeviceModel::kMouse).value_or(-1); }
};

TEST_F(LateMouseTest, AMousePluggedJustBeforeSleepIsReadBeforeAnythingIsWrittenToIt) {
  constexpr uint8_t kReadSettings = 0x05;
  ASSERT_FALSE(PageOfKind(hid::DeviceKind::kMouse)->IsChannelOpen());
  backend_->ClearFrameLog();
  backend_->Plug(MouseId());
  // The system sleeps as soon as the page has opened the mouse, before it has read it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return PageOfKind(hid::DeviceKind::kMouse)->IsChannelOpen(); }, 8000));
  Suspend();
  Resume();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const std::vector<uint8_t> codes = SentCodes(MouseId());
        return std::find(codes.begin(), codes.end(), kReadSettings) != codes.end();
      },
      8000));
  QTest::qWait(600);
  const std::vector<uint8_t> codes = SentCodes(MouseId());
  const auto firstRead = std::find(codes.begin(), codes.end(), kReadSettings);
  EXPECT_EQ(std::find(codes.begin(), firstRead, kWriteSettings), firstRead)
      << "defaults were written over the mouse's own lighting";
}

TEST_F(LightCoordinationTest, RequestsDuringSleepWaitForTheWakeUp) {
  Suspend();
  LightControlRequest(1, 1);
  EXPECT_TRUE(window_->LightControl());
  EXPECT_TRUE(PagesHaveControl(false)) << "a sleeping device is not taken";
  Resume();
  EXPECT_TRUE(PagesHaveControl(true));
}

}  // namespace
}  // namespace norvane::app::test
