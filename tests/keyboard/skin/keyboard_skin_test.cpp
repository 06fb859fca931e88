// The keyboard page's skin: its key buttons are named and numbered so the page binds them (which LEDs the keys
// cover is the page tests' keyboard picture test), and the key button's own state.
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

TEST_F(KeyboardSkinTest, TheKeyButtonKeepsItsLightAndMarks) {
  CDeviceKeyButtonUI button;
  EXPECT_FALSE(button.IsLightOverlayOn());
  EXPECT_EQ(button.GetLightColour(), 255u);
  button.SetLightOverlay(true);
  button.SetLightColour(0x12345678);
  button.SetLightLevel(300);
  EXPECT_EQ(button.GetLightColour(), 0x345678u) << "only the colour bytes";
  EXPECT_EQ(button.GetLightLevel(), 255);
  button.SetKeySetMark(true);
  button.SetDeviceMark(7);
  button.SetSelectionState(1);
  EXPECT_TRUE(button.IsKeySetMarkShown());
  EXPECT_FALSE(button.IsKeyUnsetMarkShown());
  EXPECT_EQ(button.GetDeviceMark(), 7);
  EXPECT_EQ(button.GetSelectionState(), 1);
  button.SetAttribute("gmnametextcolor", "FF00FF00");
  EXPECT_EQ(button.GetGameNameTextColour(), 0xFF00FF00u);
  button.SetAttribute("lightimage", "light.png");
  EXPECT_EQ(button.GetLightImage(), ui::CDuiString("light.png"));
  button.resize(40, 40);
  button.grab();  // paints with the overlay, the mark and the selection frame without a missing image failing
}

}  // namespace
}  // namespace norvane::controls
