// The keyboard page's key picture as the shipped skin builds it: every LED of the lighting grid belongs to one
// key, no key covers another, and the keys have the sizes of a keyboard's keys. One key unit is 26 pixels; a
// button is 3 pixels smaller than its cell, so a 1-unit key is 23 pixels and an n-unit key 26n - 3.

#include <gtest/gtest.h>

#include <QStackedWidget>
#include <QWidget>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/device_key_button.h"
#include "devices/button_binding.h"
#include "devices/lighting/keyboard/keyboard_tables.h"
#include "uilib/dialog_builder.h"
#include "uilib/paint_manager.h"

namespace norvane::pages::test {
namespace {

constexpr int kLedSlots = 170;

struct PictureKey {
  int led = -1;
  std::vector<int> extras;
  QRect rect;
  QString caption;
};

class KeyboardPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = ui::CDialogBuilder::Create("XML\\DeviceXml\\keyboarddevice.xml", nullptr, &host_);
    ASSERT_NE(root_, nullptr);
    ui::CControlUI* panel = ui::CPaintManagerUI::FindSubControlByName(root_, "keyboard_device_key_light");
    ASSERT_NE(panel, nullptr);
    panel_ = panel->GetWidget();
    for (QWidget* w : panel_->findChildren<QWidget*>()) {
      auto* button = dynamic_cast<controls::CDeviceKeyButtonUI*>(ui::ControlOf(w));
      if (button == nullptr) continue;
      PictureKey key;
      const auto led = devices::LedIndexFromUserData(button->GetUserData().ToUtf8(), kLedSlots);
      ASSERT_TRUE(led.has_value()) << button->GetName().ToUtf8() << " has no light_N";
      key.led = *led;
      for (const QString& extra : w->property("extraleds").toString().split(u',', Qt::SkipEmptyParts)) {
        bool number = false;
        key.extras.push_back(extra.trimmed().toInt(&number));
        ASSERT_TRUE(number) << button->GetName().ToUtf8() << ": \"" << extra.toStdString() << "\"";
      }
      key.rect = w->geometry();
      key.caption = button->GetText();
      keys_[key.led] = key;
      ++buttons_;
    }
  }

  // The key whose own LED is `led` (its button's "light_N").
  const PictureKey& Key(int led) {
    static const PictureKey none;
    const auto found = keys_.find(led);
    return found == keys_.end() ? none : found->second;
  }

  QWidget host_;
  ui::CControlUI* root_ = nullptr;
  QWidget* panel_ = nullptr;
  std::map<int, PictureKey> keys_;
  int buttons_ = 0;
};

TEST_F(KeyboardPictureTest, EveryLedOfTheLightingGridBelongsToExactlyOneKey) {
  std::set<int> grid;
  for (const auto& column : lighting::keyboard::kGeometry) {
    for (const auto led : column) {
      if (led != lighting::keyboard::kNoLed) grid.insert(led);
    }
  }
  std::map<int, int> owners;  // LED -> how many keys claim it
  for (const auto& [led, key] : keys_) {
    ++owners[led];
    for (const int extra : key.extras) ++owners[extra];
  }
  EXPECT_EQ(int(keys_.size()), buttons_) << "two buttons with one light_N";
  for (const int led : grid) EXPECT_EQ(owners[led], 1) << "LED " << led;
  for (const auto& [led, count] : owners) EXPECT_TRUE(grid.contains(led)) << "LED " << led << " is not in the grid";
  EXPECT_EQ(owners.size(), grid.size());

  // The LEDs without a key of their own sit under the keys beside or over them.
  EXPECT_EQ(Key(5).extras, (std::vector<int>{18})) << "F5 and the gap before it";
  EXPECT_EQ(Key(95).extras, (std::vector<int>{19})) << "right Shift";
  EXPECT_EQ(Key(107).extras, (std::vector<int>{20})) << "left Alt";
  EXPECT_EQ(Key(108).extras, (std::vector<int>{126, 127, 128, 129})) << "Space";
  EXPECT_EQ(Key(112).extras, (std::vector<int>{130})) << "right Ctrl";
  EXPECT_EQ(Key(118).extras, (std::vector<int>{131})) << "numpad Enter";
  EXPECT_EQ(Key(116).extras, (std::vector<int>{104})) << "numpad 0";
  EXPECT_TRUE(Key(64).extras.empty()) << "a letter key has its own LED only";
}

TEST_F(KeyboardPictureTest, NoKeyCoversAnotherAndAllLieInsideThePicture) {
  const QRect picture(QPoint(0, 0), panel_->minimumSize());
  EXPECT_EQ(picture.size(), QSize(654, 160)) << "25.25 by 6.25 units, without the last gap";
  std::vector<const PictureKey*> all;
  for (const auto& entry : keys_) all.push_back(&entry.second);
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_TRUE(picture.contains(all[i]->rect)) << "LED " << all[i]->led;
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      // Shared edges would still be an overlap by QRect::intersects; the buttons keep 3 pixels apart.
      EXPECT_FALSE(all[i]->rect.intersects(all[j]->rect)) << "LED " << all[i]->led << " and LED " << all[j]->led;
    }
  }
}

TEST_F(KeyboardPictureTest, KeysHaveTheirKeyboardSizesAndPlaces) {
  EXPECT_EQ(Key(64).rect, QRect(78, 85, 23, 23)) << "A: 1 unit, at 3 units by row 3 (3.25 units down)";
  EXPECT_EQ(Key(0).rect, QRect(33, 0, 23, 23)) << "Esc opens the main block at 1.25 units";
  EXPECT_EQ(Key(120).rect, QRect(0, 33, 23, 23)) << "M1 beside row 1";
  EXPECT_EQ(Key(5).rect.x(), 202) << "F5 after a half unit gap, at 7.75 units";

  EXPECT_EQ(Key(34).rect.width(), 49) << "Backspace: 2 units";
  EXPECT_EQ(Key(42).rect.width(), 36) << "Tab: 1.5 units";
  EXPECT_EQ(Key(63).rect.width(), 42) << "Caps Lock: 1.75 units";
  EXPECT_EQ(Key(84).rect.width(), 29) << "left Shift: 1.25 units";
  EXPECT_EQ(Key(95).rect.width(), 43) << "right Shift: 1.75 units";
  EXPECT_EQ(Key(108).rect, QRect(130, 137, 147, 23)) << "Space: 5.75 units from 5 units";
  EXPECT_EQ(Key(116).rect.width(), 49) << "numpad 0: 2 units";

  EXPECT_EQ(Key(119).rect.height(), 49) << "numpad +: two rows";
  EXPECT_EQ(Key(118).rect.height(), 49) << "numpad Enter: two rows";
  EXPECT_EQ(Key(118).rect.bottom(), Key(116).rect.bottom()) << "Enter reaches the 0 row";
  EXPECT_EQ(Key(119).rect.y(), Key(59).rect.y()) << "+ starts on the 7 row";

  // Every row of the main block is 15 units: its last key's last pixel is 419, before the gap that ends at
  // 16.25 units (423 pixels).
  for (const int rowEnd : {34, 55, 75, 95, 112}) EXPECT_EQ(Key(rowEnd).rect.right(), 419) << "LED " << rowEnd;
}

TEST_F(KeyboardPictureTest, KeysKeepTheirCaptionsAndTheKeyEditorHasItsPlace) {
  EXPECT_EQ(Key(108).caption, "Space");
  EXPECT_EQ(Key(34).caption, "Bksp");
  EXPECT_EQ(Key(64).caption, "A");
  EXPECT_EQ(Key(120).caption, "M1");
  EXPECT_EQ(Key(62).caption, "#") << "the international keys are named too";

  // The key assignment panel sits in the key assignment tab's editor area (these tests build the page
  // without the editors' controls: the builder puts an empty container there under its name).
  ui::CControlUI* editor = ui::CPaintManagerUI::FindSubControlByName(root_, "KeySetControlItem");
  ASSERT_NE(editor, nullptr);
  ui::CControlUI* page = ui::CPaintManagerUI::FindSubControlByName(root_, "device_key_function_switch_page_1");
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->GetWidget()->isAncestorOf(editor->GetWidget()));
}

}  // namespace
}  // namespace norvane::pages::test
