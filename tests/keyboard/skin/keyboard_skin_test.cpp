// The keyboard page's skin: its key buttons are named and numbered so the page binds them. Which LEDs the keys
// cover is the page tests' keyboard picture test; the key button itself has the controls tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <set>

#include "controls/device_controls.h"
#include "controls/device_key_button.h"
#include "devices/button_binding.h"
#include "uilib/dialog_builder.h"
#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"

namespace norvane::controls {
namespace {

class KeyboardSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("NORVANE_SKIN_DIR", NORVANE_SOURCE_DIR "/skin");
    static int argc = 1;
    static char name[] = "test_keyboard_skin";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    RegisterDeviceControls();
    ui::CResourceManager& rm = ui::CResourceManager::GetInstance();
    rm.SetResourcePath(ui::CResourceManager::DefaultResourcePath());
    rm.LoadResource("res.xml");
  }
};

TEST_F(KeyboardSkinTest, EveryKeyButtonIsNamedForItsOwnLed) {
  QWidget host;
  ui::CControlUI* root = ui::CDialogBuilder::Create("XML\\DeviceXml\\keyboarddevice.xml", nullptr, &host);
  ASSERT_NE(root, nullptr);
  std::set<int> bound;
  for (QWidget* w : host.findChildren<QWidget*>()) {
    auto* button = dynamic_cast<CDeviceKeyButtonUI*>(ui::ControlOf(w));
    if (button == nullptr) continue;
    const auto key = devices::KeyIndexFromName(button->GetName().ToUtf8(), 170);
    const auto led = devices::LedIndexFromUserData(button->GetUserData().ToUtf8(), 170);
    ASSERT_TRUE(key && led) << button->GetName().ToUtf8();
    EXPECT_EQ(*key, *led);
    EXPECT_TRUE(bound.insert(*led).second) << "LED " << *led << " twice";
  }
  EXPECT_GT(bound.size(), 100u);
  EXPECT_NE(ui::CPaintManagerUI::FindSubControlByName(root, "keyboard_device_key_light"), nullptr);
  EXPECT_NE(ui::CPaintManagerUI::FindSubControlByName(root, "device_function_switch"), nullptr);
}

}  // namespace
}  // namespace norvane::controls
