// A device kind the program does not ship, added as one row of the kinds table plus its own device class:
// it gets its page with its own class, its tab, the function tabs its row names, and the routes of its kind.
#include <gtest/gtest.h>

#include <QTest>

#include "app/device_service.h"
#include "app/main_wnd.h"
#include "controls/device_profile.h"
#include "controls/device_strip.h"
#include "controls/pages/page_builder.h"
#include "devices/device_kinds.h"
#include "devices/function_tabs.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "tests/support/temp_folder.h"
#include "uilib/button.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"

namespace norvane::app::test {
namespace {

constexpr std::uint16_t kFakeKind = 12;

class CFakeLampDevice final : public devices::CNorvaneUSBDevice {
 public:
  using CNorvaneUSBDevice::CNorvaneUSBDevice;
  void InitialSync() override { ++syncs; }
  int syncs = 0;
};

class Recorder final : public editors::IEditor {
 public:
  void OnRoute(const editors::RoutedNotify& n) override { seen.emplace_back(n.action, n.pageKind); }
  std::vector<std::pair<editors::RouteAction, std::uint16_t>> seen;
};

TEST(FakeDeviceKind, IsOneRowOfTheKindsTablePlusItsOwnClass) {
  norvane::testing::TempFolder data;
  norvane::testing::ScopedEnv dataHome{"XDG_DATA_HOME", data.path().c_str()};
  devices::ScopedDeviceKind kind({kFakeKind, 0, "lamp", "XML\\DeviceXml\\mousepaddevice.xml", false,
                                  devices::FunctionTabBit(1) | devices::FunctionTabBit(4),
                                  [](devices::PageServices services) -> std::unique_ptr<devices::CNorvaneUSBDevice> {
                                    return std::make_unique<CFakeLampDevice>(services);
                                  }});
  auto backend = std::make_shared<emulator::EmulatorBackend>(std::vector<emulator::DeviceModel>{});
  auto previous = hid::SetActiveHidBackend(backend);
  {
    MainWndOptions options;
    options.deviceServiceFactory = MakeDeviceHostService;
    options.settingsFile = data.path() / "registry.ini";
    options.watchSleep = false;
    CMainWnd window(std::move(options));
    ASSERT_TRUE(window.Create(nullptr, "fake-kind-test", false, 0, 0, 1000, 640));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Devices() && window.Devices()->Pages().size() == 2; }, 3000));
    const controls::DeviceStrip strip = controls::DeviceStrip::Find(window.GetPaintManager());

    controls::PagePlan plan;
    plan.kind = devices::FindDeviceKind(kFakeKind);
    ASSERT_EQ(plan.kind, &kind.Row());
    plan.model = hid::catalogue::DevicePageTable()[2];
    plan.model.kind_code = kFakeKind;
    plan.files = {4, 0, 0, -1, "vexor_light"};
    plan.identity.kind = hid::DeviceKind(kFakeKind);
    plan.linkKind = kFakeKind;
    const std::optional<controls::BuiltPage> built = controls::BuildDevicePage(strip, plan, &window);
    ASSERT_TRUE(built);

    // Its page, with its own class and the row's folder.
    auto* lamp = dynamic_cast<CFakeLampDevice*>(built->page->Device());
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->LedCount(), 4);
    EXPECT_EQ(lamp->DeviceFolder(), "lamp");
    EXPECT_EQ(lamp->ModelIndex(), 0) << "the row takes no model index";

    // Its tab, which makes it the current page.
    ASSERT_NE(built->tab, nullptr);
    controls::ShowDeviceTab(strip, built->tab->TabIndex(), true, true);
    ASSERT_EQ(window.Devices()->CurrentPage(), built->page);

    // The function tabs its row names, and the system tab opening its area.
    controls::CDeviceProfileUI* bar = built->page->ProfileBar();
    ASSERT_NE(bar, nullptr);
    for (const auto& [name, shown] : std::vector<std::pair<const char*, bool>>{
             {"deng_Op_tab", true}, {"key_Op_tab", false}, {"system_Op_tab", true}, {"cursor_Op_tab", false},
             {"magic_Op_tab", false}}) {
      ui::CControlUI* tab = bar->FindSubControl(name);
      ASSERT_NE(tab, nullptr) << name;
      EXPECT_EQ(tab->IsVisible(), shown) << name;
    }
    EXPECT_EQ(devices::SelectFunctionTabs(4, hid::DeviceKind(kFakeKind)), (devices::FunctionTabSelection{3, -1}));
    auto* system = dynamic_cast<ui::COptionUI*>(bar->FindSubControl("system_Op_tab"));
    system->Selected(true, true);
    EXPECT_EQ(lamp->GetFunctionTab(), 4);

    // The routes of every kind reach its editors with its kind; those of other kinds do not.
    Recorder lighting;
    Recorder keyboardSystem;
    window.Router().Register(editors::EditorSlot::kLighting, &lighting);
    window.Router().Register(editors::EditorSlot::kKeyboardSystem, &keyboardSystem);
    ui::CButtonUI sender;
    for (const char* name : {"color_option_3", "reset_repeat_btn", "custom_bright_color_btn"}) {
      sender.SetName(name);
      ui::TNotifyUI click{ui::DUI_MSGTYPE_CLICK, &sender, 0, 0};
      window.Notify(click);
    }
    ASSERT_EQ(lighting.seen.size(), 1u);
    EXPECT_EQ(lighting.seen[0], std::make_pair(editors::RouteAction::kColourOption, kFakeKind));
    EXPECT_TRUE(keyboardSystem.seen.empty()) << "a keyboard-only route is not the lamp's";
    window.Router().Register(editors::EditorSlot::kLighting, nullptr);
    window.Router().Register(editors::EditorSlot::kKeyboardSystem, nullptr);
    controls::RemoveDevicePage(strip, built->page);
  }
  hid::SetActiveHidBackend(previous);
}

}  // namespace
}  // namespace norvane::app::test
