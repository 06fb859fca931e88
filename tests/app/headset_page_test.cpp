// The headset and the mouse pad in the real window on their emulated devices and the emulated audio chip:
// what a user sets on the headset's sound, voice changer and lighting panels, and on the pad's lighting
// panel, reaches the chip, the device and the profile, and what the chip does not take is told and undone.
#include <gtest/gtest.h>

#include <QTest>

#include "devices/headset/audio_chip_provider.h"
#include "devices/headset/emulated_audio_chip.h"
#include "devices/headset/hs6533_device.h"
#include "devices/mousepad/mousepad_device.h"
#include "editors/voice6533_control.h"
#include "tests/app/window_fixture.h"
#include "uilib/edit.h"
#include "uilib/slider.h"

namespace norvane::app::test {
namespace {

using devices::headset::EmulatedAudioChip;
using devices::headset::PropertyAccess;

class HeadsetPageTest : public WindowOnEmulatorTest {
 protected:
  void SetUp() override {
    backend_ = std::make_shared<emulator::EmulatorBackend>(
        std::vector<DeviceModel>{DeviceModel::kHeadset, DeviceModel::kMousePad});
    previous_ = hid::SetActiveHidBackend(backend_);
    MainWndOptions options;
    options.deviceServiceFactory = MakeDeviceHostService;
    options.settingsFile = data_.path() / "registry.ini";
    options.watchSleep = false;
    options.prompts = &prompts_;
    window_ = std::make_unique<CMainWnd>(std::move(options));
    ASSERT_TRUE(window_->Create(nullptr, "headset-page-test", false, 0, 0, 1000, 640));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Synced(Headset()) && Synced(Pad()); }, 8000));
    SelectTab(HeadsetPage());
    Select(HeadsetPage(), "6533_voice_Op_tab");
    chip_->ClearCalls();
  }
  static bool Synced(controls::CDevicePageUI* page) {
    auto* strip = page ? dynamic_cast<devices::CStripDevice*>(page->Device()) : nullptr;
    return strip && TabVisible(page) && strip->LastSyncResult() == devices::SyncResult::kDone;
  }
  controls::CDevicePageUI* HeadsetPage() const { return PageOfKind(hid::DeviceKind::kHeadset); }
  controls::CDevicePageUI* Headset() const { return HeadsetPage(); }
  controls::CDevicePageUI* Pad() const { return PageOfKind(hid::DeviceKind::kMousePad); }
  devices::CNorvaneHS6533Device& HeadsetDevice() const {
    return *dynamic_cast<devices::CNorvaneHS6533Device*>(HeadsetPage()->Device());
  }
  template <class T>
  T* Get(controls::CDevicePageUI* page, const char* name) const {
    return dynamic_cast<T*>(InPage(page, name));
  }
  // What a user's move of a slider raises.
  void Slide(controls::CDevicePageUI* page, const char* name, int value) {
    auto* slider = Get<ui::CSliderUI>(page, name);
    ASSERT_NE(slider, nullptr) << name;
    slider->setValue(value);
    QTest::qWait(5);
  }
  std::vector<std::int32_t> Sent(const std::string& property) const {
    std::vector<std::int32_t> words;
    for (const auto& call : chip_->Calls())
      if (call.access == PropertyAccess::kSet && call.property == property) words.push_back(call.word);
    return words;
  }
  Json::Value SavedStages() const {
    return JsonFileUtil().ReadJsonValue(HeadsetPage()->Device()->CurrentProfileFile())["Device"][0]["SystemSetStages"];
  }
  bool Told(const std::string& textId) {
    QTest::qWait(30);
    return std::find(prompts_.told.begin(), prompts_.told.end(), textId) != prompts_.told.end();
  }

  std::shared_ptr<EmulatedAudioChip> chip_ = std::make_shared<EmulatedAudioChip>();
  devices::headset::ScopedAudioChipSource source_{[this](const std::string&) {
    return std::vector<std::shared_ptr<devices::headset::AudioChip>>{chip_};
  }};
};

TEST_F(HeadsetPageTest, APresetAndABandMovedUnderItReachTheChipAndTheSliders) {
  Select(HeadsetPage(), "6533_eq_option_3");
  EXPECT_EQ(Sent("Enable_EQ_GFX"), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Sent("EQ_Slider1"), (std::vector<std::int32_t>{10}));
  EXPECT_EQ(Get<ui::CSliderUI>(HeadsetPage(), "6533_eq_hz_slider_1")->GetValue(), 10);
  EXPECT_EQ(SavedStages()["EqType"].asInt(), 3);

  Slide(HeadsetPage(), "6533_eq_hz_slider_2", 7);
  EXPECT_EQ(Sent("EQ_Slider2"), (std::vector<std::int32_t>{4, 7}));
  EXPECT_TRUE(Get<ui::COptionUI>(HeadsetPage(), "6533_eq_option_13")->IsSelected()) << "the bands are the user's now";
  EXPECT_FALSE(Get<ui::COptionUI>(HeadsetPage(), "6533_eq_option_3")->IsSelected());
  EXPECT_TRUE(InPage(HeadsetPage(), "custom_eq_option_layout")->IsVisible());
}

TEST_F(HeadsetPageTest, SetsAreSavedUnderANewNameOnlyAndATakenNameIsTold) {
  Slide(HeadsetPage(), "6533_eq_hz_slider_1", 5);
  auto* name = Get<ui::CEditUI>(HeadsetPage(), "custom_eq_name_edit");
  ASSERT_NE(name, nullptr);
  name->SetText("Night");
  Click(HeadsetPage(), "hs_EQ_btn_save");
  auto* sets = Get<ui::CComboUI>(HeadsetPage(), "custom_eq_name_combo");
  ASSERT_EQ(sets->GetCount(), 1);
  EXPECT_EQ(sets->GetItemText(0), "Night");
  EXPECT_EQ(sets->GetCurSel(), 0);
  EXPECT_TRUE(name->GetText().isEmpty());

  name->SetText("NIGHT");
  Click(HeadsetPage(), "hs_EQ_btn_save");
  EXPECT_TRUE(Told("message_text_5"));
  EXPECT_EQ(sets->GetCount(), 1);

  Click(HeadsetPage(), "hs_EQ_btn_delete");
  EXPECT_EQ(sets->GetCount(), 0);
  EXPECT_TRUE(Get<ui::COptionUI>(HeadsetPage(), "6533_eq_option_1")->IsSelected()) << "back to preset 1";
  EXPECT_FALSE(InPage(HeadsetPage(), "custom_eq_option_layout")->IsVisible());
}

TEST_F(HeadsetPageTest, AMuteTheChipRefusesIsToldAndTheOptionFlipsBack) {
  auto* microphone = Get<ui::COptionUI>(HeadsetPage(), "6533_MicIn_option");
  ASSERT_TRUE(microphone->IsSelected());
  chip_->FailProperty("MuteControl", devices::headset::kAudioFailed);
  Select(HeadsetPage(), "6533_MicIn_option", false);
  EXPECT_TRUE(microphone->IsSelected()) << "the microphone is still on";
  EXPECT_TRUE(Told("hs_audio_write_failed"));
  EXPECT_EQ(SavedStages()["MicInSelect"].asInt(), 1);

  chip_->ClearFailures();
  Select(HeadsetPage(), "6533_MicIn_option", false);
  EXPECT_FALSE(microphone->IsSelected());
  EXPECT_EQ(chip_->Word(EmulatedAudioChip::kMicrophoneId, "MuteControl"), 1);
  Slide(HeadsetPage(), "6533_MicIn_slider", 37);
  EXPECT_EQ(chip_->Float(EmulatedAudioChip::kMicrophoneId, "VolumeScalarControl"), 0.37f);
  EXPECT_EQ(SavedStages()["MicInValue"].asInt(), 37);
  EXPECT_EQ(InPage(HeadsetPage(), "hs_mic_value_label")->GetText(), "37  (3.54 dB)");
}

TEST_F(HeadsetPageTest, TheVoiceChangersThirdVoiceIsTheChipsVoiceTwo) {
  Select(HeadsetPage(), "magic_Op_tab");
  Select(HeadsetPage(), "magic_enable_option");
  Select(HeadsetPage(), "magic_option_3");
  EXPECT_EQ(Sent("Enable_MAGICVOICE"), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Sent("MagicVoice_Selection"), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(SavedStages()["MagicType"].asInt(), 3);
  EXPECT_EQ(SavedStages()["MagicEnable"].asInt(), 1);
}

TEST_F(HeadsetPageTest, TheLightingPanelsOfBothPagesWriteTheirDevicesRecord) {
  // The pad's record starts with the number of the profile it uses.
  backend_->WriteMemory(backend_->FindDevice(DeviceModel::kMousePad).value(), MemoryArea::kSettings, 0,
                        std::vector<std::uint8_t>{1});
  SelectTab(Pad());
  Select(Pad(), "deng_Op_tab");
  auto* modes = Get<ui::CComboUI>(Pad(), "light_combo_modeSelect");
  ASSERT_NE(modes, nullptr);
  ASSERT_TRUE(modes->SelectItem(6, false, true));
  QTest::qWait(20);
  const auto pad = backend_->ReadMemory(backend_->FindDevice(DeviceModel::kMousePad).value(), MemoryArea::kSettings, 0, 2);
  EXPECT_EQ(pad, (std::vector<std::uint8_t>{1, 6}));

  SelectTab(HeadsetPage());
  Select(HeadsetPage(), "deng_Op_tab");
  modes = Get<ui::CComboUI>(HeadsetPage(), "light_combo_modeSelect");
  ASSERT_TRUE(modes->SelectItem(3, false, true));
  QTest::qWait(20);
  const auto headset =
      backend_->ReadMemory(backend_->FindDevice(DeviceModel::kHeadset).value(), MemoryArea::kSettings, 0, 2);
  EXPECT_EQ(headset, (std::vector<std::uint8_t>{0, 3}));
  EXPECT_FALSE(backend_->OutputReports(backend_->FindDevice(DeviceModel::kHeadset).value()).empty())
      << "the headset's LEDs are driven";
}

TEST_F(HeadsetPageTest, LightingHandedOverStopsTheHeadsetsReportsAndTakingItBackResumesThem) {
  const auto headset = backend_->FindDevice(DeviceModel::kHeadset).value();
  ui::TNotifyUI click{ui::DUI_MSGTYPE_CLICK, window_->FindControl("control_light_status"), 0, 0};
  ASSERT_NE(click.pSender, nullptr);
  window_->Notify(click);
  ASSERT_FALSE(window_->LightControl());
  QTest::qWait(100);
  HeadsetDevice().WaitForLightReports();
  backend_->ClearOutputReports(headset);
  QTest::qWait(1300);
  HeadsetDevice().WaitForLightReports();
  EXPECT_TRUE(backend_->OutputReports(headset).empty()) << "another program has the LEDs now";

  window_->Notify(click);
  // The whole frame, twelve reports, whatever the headset kept meanwhile.
  EXPECT_TRUE(QTest::qWaitFor([&] { return backend_->OutputReports(headset).size() >= 12; }, 2000));
}

}  // namespace
}  // namespace norvane::app::test
