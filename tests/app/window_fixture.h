#pragma once
// The main window with its real device host on an emulated keyboard and mouse, and the means to drive it
// as a user's clicks do: notifications raised by the page's own controls, the frames the keyboard was sent,
// what the profile on disk holds.
#include <gtest/gtest.h>

#include <QTest>

#include "app/device_service.h"
#include "app/main_wnd.h"
#include "controls/device_profile.h"
#include "controls/device_strip.h"
#include "controls/pages/device_page.h"
#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "profiles/json_file_util.h"
#include "tests/support/temp_folder.h"
#include "uilib/combo.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"

namespace norvane::app::test {

using emulator::DeviceModel;
using emulator::MemoryArea;

constexpr uint8_t kBegin = 0x01;
constexpr uint8_t kEnd = 0x02;
constexpr uint8_t kWriteSettings = 0x06;
constexpr uint8_t kWriteKeyTable = 0x09;

// Answers the window's questions from a script, and remembers what it was asked.
class ScriptedPrompts final : public UserPrompts {
 public:
  bool Confirm(const ui::CDuiString& textId) override {
    asked.push_back(textId.toStdString());
    if (answers.empty()) return confirm;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  void Tell(const ui::CDuiString& textId) override { told.push_back(textId.toStdString()); }
  std::optional<ui::CDuiString> OpenFile(const ui::CDuiString& filter) override {
    filters.push_back(filter.toStdString());
    return file;
  }
  std::optional<ui::CDuiString> SaveFile(const ui::CDuiString& filter) override {
    filters.push_back(filter.toStdString());
    return file;
  }

  bool confirm = true;
  std::vector<bool> answers;  // the next questions' answers in order; `confirm` after them
  std::optional<ui::CDuiString> file;
  std::vector<std::string> asked;
  std::vector<std::string> told;
  std::vector<std::string> filters;
};

class WindowOnEmulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = std::make_shared<emulator::EmulatorBackend>(models_);
    previous_ = hid::SetActiveHidBackend(backend_);
    OpenWindow();
    if (HasFatalFailure()) return;
    SelectTab(KeyboardPage());
    backend_->ClearFrameLog();
  }

  // The window as the program opens it (again, after a restart: the same data folder and devices).
  void OpenWindow() {
    window_.reset();
    MainWndOptions options;
    options.deviceServiceFactory = MakeDeviceHostService;
    options.settingsFile = data_.path() / "registry.ini";
    options.watchSleep = false;
    options.prompts = &prompts_;
    options.audioCompanion = companion_;
    options.audioCompanionArguments = companionArguments_;
    if (customise_) customise_(options);
    options.chooseColour = chooseColour_;
    options.recordingBackends = recordingBackends_;
    window_ = std::make_unique<CMainWnd>(std::move(options));
    ASSERT_TRUE(window_->Create(nullptr, "window-on-emulator-test", false, 0, 0, 1000, 640));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return KeyboardPage() && TabVisible(KeyboardPage()) && Synced(); }, 15000))
        << "the keyboard page did not show its synced device";
  }

  void TearDown() override {
    window_.reset();
    hid::SetActiveHidBackend(previous_);
  }

  controls::CDevicePageUI* PageOfKind(hid::DeviceKind kind) const {
    if (!window_ || !window_->Devices()) return nullptr;
    for (controls::CDevicePageUI* page : window_->Devices()->Pages())
      if (page->Device() && page->Device()->Kind() == kind) return page;
    return nullptr;
  }
  controls::CDevicePageUI* KeyboardPage() const { return PageOfKind(hid::DeviceKind::kKeyboard); }
  devices::CNorvaneKeyboardDevice& Keyboard() const {
    return *dynamic_cast<devices::CNorvaneKeyboardDevice*>(KeyboardPage()->Device());
  }
  bool Synced() const {
    auto* keyboard = dynamic_cast<devices::CNorvaneKeyboardDevice*>(KeyboardPage()->Device());
    return keyboard && keyboard->LastLiveReadResult() == 1;
  }
  static bool TabVisible(controls::CDevicePageUI* page) {
    return page->DeviceTab() && page->DeviceTab()->IsVisible();
  }
  controls::DeviceStrip Strip() const { return controls::DeviceStrip::Find(window_->GetPaintManager()); }
  void SelectTab(controls::CDevicePageUI* page) {
    controls::ShowDeviceTab(Strip(), page->DeviceTab()->TabIndex(), true, true);
  }
  emulator::DeviceId KeyboardId() const { return backend_->FindDevice(DeviceModel::kKeyboard).value_or(-1); }

  ui::CControlUI* InPage(controls::CDevicePageUI* page, const char* name) const {
    return ui::CPaintManagerUI::FindSubControlByName(page, name);
  }
  // A click on a control as the widget raises it, with the modal follow-ups the window posts run.
  void Click(controls::CDevicePageUI* page, const char* name) {
    ui::CControlUI* control = InPage(page, name);
    ASSERT_NE(control, nullptr) << name;
    ui::TNotifyUI msg{ui::DUI_MSGTYPE_CLICK, control, 0, 0};
    window_->Notify(msg);
    QTest::qWait(20);
  }
  void Select(controls::CDevicePageUI* page, const char* name, bool selected = true) {
    auto* option = dynamic_cast<ui::COptionUI*>(InPage(page, name));
    ASSERT_NE(option, nullptr) << name;
    option->Selected(selected, true);
    QTest::qWait(5);
  }

  // The command codes the keyboard (or another device) was sent, in order.
  std::vector<uint8_t> SentCodes() const { return SentCodes(KeyboardId()); }
  std::vector<uint8_t> SentCodes(emulator::DeviceId device) const {
    std::vector<uint8_t> codes;
    for (const emulator::LoggedFrame& frame : backend_->FrameLog())
      if (frame.direction == emulator::FrameDirection::kToDevice && frame.device == device)
        codes.push_back(frame.bytes[3]);
    return codes;
  }
  std::vector<uint8_t> SettingsRecord() const {
    return backend_->ReadMemory(KeyboardId(), MemoryArea::kSettings, 0, 31);
  }
  // The system settings as the profile file on disk holds them.
  Json::Value SavedSystem() const {
    const Json::Value document = JsonFileUtil().ReadJsonValue(KeyboardPage()->Device()->CurrentProfileFile());
    return document["Device"][0]["SystemStages"];
  }
  controls::CDeviceProfileUI& Bar() const { return *KeyboardPage()->ProfileBar(); }
  std::vector<std::string> ComboNames() const {
    std::vector<std::string> names;
    auto* combo = dynamic_cast<ui::CComboUI*>(Bar().FindSubControl("device_profile_combo"));
    for (int i = 0; combo && i < combo->GetCount(); ++i) names.push_back(combo->GetItemText(i).toStdString());
    return names;
  }

  // The devices plugged in at the start; a test group may set others before SetUp.
  std::vector<DeviceModel> models_{DeviceModel::kKeyboard, DeviceModel::kMouse};
  // The audio capture companion the window runs; none unless a test names one.
  QString companion_;
  QStringList companionArguments_;
  // The capture a recording uses; none given: the window's own choice.
  std::optional<CDeviceHook::BackendList> recordingBackends_;
  norvane::testing::TempFolder data_;
  norvane::testing::ScopedEnv dataHome_{"XDG_DATA_HOME", data_.path().c_str()};
  // Changes the options the window opens with; set before SetUp runs (in a fixture's constructor).
  std::function<void(MainWndOptions&)> customise_;
  ScriptedPrompts prompts_;
  // The colour a user picks in the colour chooser; empty: the chooser is not scripted.
  std::function<std::optional<std::uint32_t>(std::uint32_t)> chooseColour_;
  std::shared_ptr<emulator::EmulatorBackend> backend_;
  std::shared_ptr<hid::HidBackend> previous_;
  std::unique_ptr<CMainWnd> window_;
};

}  // namespace norvane::app::test
