// One device page with its widgets: which buttons stand for keys and lights, the function switches, the
// lighting preview and the light control, the notice of a device that could not be read, and the power
// panel fed from the device's wireless status.

#include <QPushButton>

#include "controls/device_key_button.h"
#include "controls/mp_device_power.h"
#include "devices/device_kinds.h"
#include "controls/pages/light_preview.h"
#include "tests/pages/page_test_window.h"
#include "uilib/tab_layout.h"

namespace norvane::pages::test {
namespace {

using hid::DeviceKind;

constexpr const char* kBindSkin = NORVANE_SOURCE_DIR "/tests/pages/bind_buttons.ui";

class DevicePageTest : public ::testing::Test {
 protected:
  // A page from the binding skin with a basic device of `kind`, 10 keys and 10 LEDs.
  void Build(DeviceKind kind = DeviceKind::kMouse) {
    ASSERT_TRUE(page_->BuildLayout(kBindSkin));
    page_->SetDevice(devices::MakeDeviceForKind(std::uint16_t(kind), page_->Services()));
    devices::CNorvaneUSBDevice& device = *page_->Device();
    device.SetSkinFile(kBindSkin);
    device.SetKeyCount(10);
    device.SetLedCount(10);
    device.SetIdentity(hid::InterfaceTable()[kind == DeviceKind::kKeyboard ? 0 : 4]);
    device.BindKeyButtons();
  }
  QString NameOf(ui::CControlUI* control) const { return control ? control->GetName() : QString("<none>"); }
  int XOf(ui::CControlUI* control) const { return control ? control->GetWidget()->x() : -1; }

  std::unique_ptr<controls::CDevicePageUI> page_ = std::make_unique<controls::CDevicePageUI>();
};

TEST_F(DevicePageTest, BindKeyButtonsTakesButtonsByNameAndUserDataWithinTheCounts) {
  Build();
  EXPECT_EQ(page_->KeyButtonCount(), 10);
  EXPECT_EQ(page_->LightButtonCount(), 10);
  EXPECT_EQ(NameOf(page_->KeyButton(5)), "KEY_5") << "the key prefix in any case";
  EXPECT_EQ(XOf(page_->KeyButton(0)), 32) << "the first of two buttons with one number";
  EXPECT_EQ(NameOf(page_->KeyButton(1)), "key_1");
  EXPECT_EQ(NameOf(page_->KeyButton(3)), "key_3");
  EXPECT_EQ(page_->KeyButton(2), nullptr) << "a label named like a key is no key";
  EXPECT_EQ(page_->KeyButton(200), nullptr);
  for (int i : {4, 6, 7, 8, 9}) EXPECT_EQ(page_->KeyButton(i), nullptr) << i;

  EXPECT_EQ(NameOf(page_->LightButton(2)), "KEY_5");
  EXPECT_EQ(NameOf(page_->LightButton(1)), "key_200") << "a button beyond the keys can still be a light";
  EXPECT_EQ(XOf(page_->LightButton(0)), 32);
  EXPECT_EQ(XOf(page_->LightButton(3)), 128);
  for (int i : {4, 5, 9}) EXPECT_EQ(page_->LightButton(i), nullptr) << "light_14 and light_99 are beyond 10";

  // Fewer keys on a second binding: the arrays follow the counts.
  page_->Device()->SetKeyCount(2);
  page_->Device()->BindKeyButtons();
  EXPECT_EQ(page_->KeyButtonCount(), 2);
  EXPECT_EQ(page_->KeyButton(5), nullptr);

  // A page without a skin file has no buttons at all.
  page_->Device()->SetSkinFile("");
  page_->Device()->BindKeyButtons();
  EXPECT_EQ(page_->KeyButtonCount(), 0);
  EXPECT_EQ(page_->LightButtonCount(), 0);
  EXPECT_EQ(page_->Device()->LedCount(), 0);
  page_->PresentFrame();  // nothing to paint, nothing to fail
}

TEST_F(DevicePageTest, FunctionTabCodesSelectTheSwitchesPages) {
  Build();
  auto* functions = dynamic_cast<ui::CTabLayoutUI*>(page_->FindSubControl("device_function_switch"));
  auto* keyFunctions = dynamic_cast<ui::CTabLayoutUI*>(page_->FindSubControl("device_key_function_switch"));
  ASSERT_TRUE(functions && keyFunctions);
  page_->Device()->SelectFunctionTab(7);
  EXPECT_EQ(functions->GetCurSel(), 0);
  EXPECT_EQ(keyFunctions->GetCurSel(), 2);
  page_->Device()->SelectFunctionTab(5);
  EXPECT_EQ(functions->GetCurSel(), 2);
  EXPECT_EQ(keyFunctions->GetCurSel(), 2) << "code 5 leaves the key functions as they are";
  page_->Device()->SelectFunctionTab(4);
  EXPECT_EQ(functions->GetCurSel(), 3) << "a wired mouse has the fourth function tab";
  EXPECT_EQ(page_->Device()->GetFunctionTab(), 4);
}

TEST_F(DevicePageTest, PresentFramePaintsLightButtonsAndPreviewOnlyWhileTheHostHasTheLightControl) {
  Build();
  controls::CLightPreviewUI* preview = page_->Preview();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(page_->AnimatedControl(), preview);
  page_->Device()->SetLedRecord(2, {.red = 255, .green = 0, .blue = 0, .level = 255});
  page_->Device()->SetLedRecord(0, {.red = 0, .green = 200, .blue = 0, .level = 128});

  page_->PresentFrame();
  EXPECT_TRUE(page_->WantsAnimationRedraw());
  EXPECT_EQ(page_->LightButton(2)->GetBkColor(), 0xFFFF0000u);
  EXPECT_EQ(page_->LightButton(0)->GetBkColor(), 0xFF006400u) << "the colour scaled by its level";
  ASSERT_EQ(preview->Colours().size(), 10u);
  EXPECT_EQ(preview->Colours()[2], QColor(255, 0, 0));
  EXPECT_GE(page_->Device()->LastDeviceFrame()[6], 254) << "LED 2 at bytes 6..8 of the device frame";
  EXPECT_EQ(page_->Device()->LastDeviceFrame()[7], 0);

  page_->PresentFrame();
  EXPECT_FALSE(page_->WantsAnimationRedraw()) << "an unchanged frame asks for no redraw";

  page_->Device()->SetLightControl(false);
  page_->Device()->SetLedRecord(2, {.red = 0, .green = 0, .blue = 255, .level = 255});
  page_->PresentFrame();
  EXPECT_FALSE(page_->WantsAnimationRedraw());
  EXPECT_EQ(preview->Colours()[2], QColor(255, 0, 0)) << "another program drives the lights meanwhile";
  page_->Device()->SetLightControl(true);
  page_->PresentFrame();
  EXPECT_EQ(preview->Colours()[2], QColor(0, 0, 255));
  EXPECT_EQ(page_->LightButton(2)->GetBkColor(), 0xFF0000FFu);
}

TEST_F(DevicePageTest, AClosedChannelLeavesThePageUsableAndSaysSo) {
  Build(DeviceKind::kMousePad);
  std::vector<ui::CDuiString> told;
  page_->SetMessageSink([&](const ui::CDuiString& id, std::optional<int>) { told.push_back(id); });
  page_->InitialSync();
  page_->InitialSync();
  EXPECT_EQ(page_->SyncNoticeTextId(), "device_sync_not_connected");
  EXPECT_TRUE(page_->FindSubControl(controls::CDevicePageUI::kNoticeName)->IsVisible());
  EXPECT_EQ(told.size(), 1u) << "told once, not on every retry";
  EXPECT_TRUE(page_->Device()->IsLightingThreadRunning()) << "the page still previews its lighting";
  page_.reset();  // stops the thread with the page
}

class DevicePageWithDeviceTest : public HostHarness {
 protected:
  // How many times the device was asked for its information block (command 0x03, 24 bytes from 0).
  int InformationReads(DeviceModel model) const {
    int count = 0;
    for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
      count += frame.device == Device(model) && frame.direction == emulator::FrameDirection::kToDevice &&
               frame.bytes[3] == 0x03 && frame.bytes[4] == 0x18 && frame.bytes[5] == 0 && frame.bytes[6] == 0;
    }
    return count;
  }
};

TEST_F(DevicePageWithDeviceTest, ARefusedInformationReadIsShownAndThePageKeepsWorking) {
  Open({DeviceModel::kMousePad});
  backend_->AddFault(Device(DeviceModel::kMousePad),
                     {.kind = emulator::FaultKind::kRefuse, .command = uint8_t{0x03}, .times = 0});
  host_->StartScan();
  controls::CDevicePageUI* pad = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    pad = PageOf(DeviceKind::kMousePad);
    return pad && pad->SyncNoticeTextId() == "device_sync_refused";
  }));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "device_sync_refused");
  EXPECT_EQ(InformationReads(DeviceModel::kMousePad), 3) << "asked twice more before the user was told";
  EXPECT_TRUE(TabShown(pad));
  EXPECT_TRUE(pad->IsChannelOpen());
  EXPECT_FALSE(backend_->Counters(Device(DeviceModel::kMousePad)).session_open) << "the series was closed";
  // The lighting preview runs from the page's own settings, while it can be seen.
  window_.ShowWindow(true);
  pad->Device()->SetLightParams({.mode = 3, .brightness = 4, .speed = 4, .green = 255});
  EXPECT_TRUE(WaitFor([&] {
    controls::CLightPreviewUI* preview = pad->Preview();
    return preview && !preview->Colours().empty() && preview->Colours()[0] == QColor(0, 255, 0);
  }));
}

TEST_F(DevicePageWithDeviceTest, ARefusalJustAfterPlugInIsAskedAgainAndTheUserIsNotBothered) {
  Open({DeviceModel::kMousePad});
  backend_->AddFault(Device(DeviceModel::kMousePad),
                     {.kind = emulator::FaultKind::kRefuse, .command = uint8_t{0x03}, .times = 1});
  host_->StartScan();
  ASSERT_TRUE(WaitFor([&] { return InformationReads(DeviceModel::kMousePad) == 2; }));
  controls::CDevicePageUI* pad = PageOf(DeviceKind::kMousePad);
  ASSERT_NE(pad, nullptr);
  EXPECT_TRUE(pad->SyncNoticeTextId().isEmpty());
  EXPECT_FALSE(pad->FindSubControl(controls::CDevicePageUI::kNoticeName)->IsVisible());
  EXPECT_TRUE(messages_.empty()) << "the window was told of a refusal that went away";
  QTest::qWait(1200);
  EXPECT_EQ(InformationReads(DeviceModel::kMousePad), 2) << "an answered read is not asked again";
  EXPECT_TRUE(pad->SyncNoticeTextId().isEmpty());
}

TEST_F(DevicePageWithDeviceTest, TheLightControlIsTakenOverOnAKeyboardOnly) {
  Open({DeviceModel::kKeyboard, DeviceModel::kMouse});
  host_->StartScan();
  controls::CDevicePageUI* keyboard = PageOf(DeviceKind::kKeyboard);
  controls::CDevicePageUI* mouse = PageOf(DeviceKind::kMouse);
  ASSERT_TRUE(WaitFor([&] { return TabShown(keyboard) && TabShown(mouse); }));
  QTest::qWait(700);  // both first syncs are done
  const auto takes = [&](DeviceModel model) {
    int count = 0;
    for (const emulator::LoggedFrame& frame : backend_->FrameLog()) {
      count += frame.device == Device(model) && frame.direction == emulator::FrameDirection::kToDevice &&
               frame.bytes[3] == 0x1C;
    }
    return count;
  };
  backend_->ClearFrameLog();
  mouse->Device()->SetLightControl(true);
  keyboard->Device()->SetLightControl(true);
  keyboard->Device()->SetLightControl(true);
  EXPECT_EQ(takes(DeviceModel::kMouse), 0);
  EXPECT_EQ(takes(DeviceModel::kKeyboard), 2);
  EXPECT_TRUE(backend_->Counters(Device(DeviceModel::kKeyboard)).light_control_taken);
}

TEST_F(DevicePageWithDeviceTest, TheKeyboardsKeyButtonsShowItsLightsAsAnOverlay) {
  Open({});
  controls::CDevicePageUI* keyboard = PageOf(DeviceKind::kKeyboard);
  ASSERT_NE(keyboard, nullptr);
  int bound = 0;
  for (int i = 0; i < keyboard->LightButtonCount(); ++i) bound += keyboard->LightButton(i) != nullptr;
  EXPECT_GT(bound, 100) << "the keyboard layout's light buttons";
  int led = 0;
  while (led < keyboard->LightButtonCount() && !keyboard->LightButton(led)) ++led;
  auto* button = dynamic_cast<controls::CDeviceKeyButtonUI*>(keyboard->LightButton(led));
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->IsLightOverlayOn());
  keyboard->Device()->SetLedRecord(std::size_t(led),
                                   {.red = 0x12, .green = 0x34, .blue = 0x56, .level = 255});
  keyboard->PresentFrame();
  EXPECT_EQ(button->GetLightColour(), 0x345612u) << "red, then blue, then green";
  EXPECT_EQ(controls::DecodeKeyLight(button->GetLightColour()), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(button->GetBkColor(), 0u) << "the overlay, not the button's background";
}

TEST_F(DevicePageWithDeviceTest, TheWirelessStatusOfAMouseOnItsReceiverReachesThePowerPanel) {
  Open({DeviceModel::kMouseReceiver});
  const std::array<uint8_t, 6> status = {80, 1, 0, 1, 0, 0};
  ASSERT_TRUE(
      backend_->WriteMemory(Device(DeviceModel::kMouseReceiver), emulator::MemoryArea::kStatus, 0, status));
  host_->StartScan();
  controls::CDevicePageUI* mouse = PageOf(DeviceKind::kMouse);
  ASSERT_TRUE(WaitFor([&] { return TabShown(mouse); }));
  controls::CMpDevicePowerUI* panel = mouse->PowerPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->IsPanelVisible()) << "the mouse reports a wireless status";
  ASSERT_TRUE(WaitFor([&] { return panel->FindSubControl("device_power_value")->GetText() == "80%"; }));
  EXPECT_EQ(panel->StatusImage(), "file='power/powering.png'");
  EXPECT_TRUE(panel->FindSubControl("device_wuxian_logo")->IsVisible());
  EXPECT_FALSE(PageOf(DeviceKind::kKeyboard)->PowerPanel()->IsPanelVisible()) << "a wired-only keyboard";
}

}  // namespace
}  // namespace norvane::pages::test
