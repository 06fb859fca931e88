// Same-mode on pages of every kind, each on its emulated device: the current page's effect goes to every
// open device in the mode its kind shows for that effect, becomes the shared effect, and leaves a page
// without a channel and an effect no other kind shows alone.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/pages/device_page.h"
#include "devices/basic_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "editors/light_control.h"
#include "editors/lighting_editor.h"
#include "protocol/channel_opener.h"
#include "tests/support/emulator_fixture.h"

namespace norvane::editors {
namespace {

using emulator::DeviceModel;
using hid::DeviceKind;

class SameModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keyboard_ = AddPage(DeviceKind::kKeyboard, true);
    mouse_ = AddPage(DeviceKind::kMouse, true);
    pad_ = AddPage(DeviceKind::kMousePad, true);
    headset_ = AddPage(DeviceKind::kHeadset, true);
    unplugged_ = AddPage(DeviceKind::kMousePad, false);
    // Each page's panel gets its kind's effects, as after the page's first refresh.
    for (controls::CDevicePageUI* page : Pages()) editor_.OnPageRefreshed(*page);
  }

  controls::CDevicePageUI* AddPage(DeviceKind kind, bool open) {
    auto page = std::make_unique<controls::CDevicePageUI>();
    std::unique_ptr<devices::CNorvaneUSBDevice> device;
    if (kind == DeviceKind::kKeyboard) {
      device = std::make_unique<devices::CNorvaneKeyboardDevice>(page->Services());
    } else {
      device = std::make_unique<devices::CNorvaneBasicDevice>(page->Services());
    }
    hid::InterfaceEntry identity;
    identity.kind = kind;
    device->SetIdentity(identity);
    if (open) {
      EXPECT_EQ(protocol::OpenCommandInterfaceOfKind(device->CommandChannel(), emulator_.CommandPath(kind), kind),
                hid::OpenError::kNone);
    }
    page->SetDevice(std::move(device));
    auto* panel = new CLightControlUI();
    panel->setParent(page.get());
    panel->setObjectName(CLightControlUI::kItemName);
    panel->DoInit();  // as the skin builder does for every control it makes
    panels_.push_back(panel);
    pages_.push_back(std::move(page));
    return pages_.back().get();
  }
  std::vector<controls::CDevicePageUI*> Pages() const {
    std::vector<controls::CDevicePageUI*> pages;
    for (const auto& page : pages_) pages.push_back(page.get());
    return pages;
  }
  void SetEffect(controls::CDevicePageUI* page, lighting::LightParams p) { page->Device()->SetLightParams(p); }
  int ModeOf(controls::CDevicePageUI* page) const { return page->Device()->GetLightParams().mode; }
  void SameMode(controls::CDevicePageUI* page) {
    editor_.OnRoute({.action = RouteAction::kLightSync, .number = 0, .msg = nullptr, .page = page, .pageKind = 0});
  }

  norvane::testing::ScopedDefaultData defaults_;
  norvane::testing::ScopedEmulator emulator_{
      {DeviceModel::kKeyboard, DeviceModel::kMouse, DeviceModel::kMousePad, DeviceModel::kHeadset}};
  std::vector<std::unique_ptr<controls::CDevicePageUI>> pages_;
  std::vector<CLightControlUI*> panels_;  // owned by their pages
  lighting::SharedLightEffect shared_;
  CLightingEditor editor_{shared_, [this] { return Pages(); }};
  controls::CDevicePageUI *keyboard_ = nullptr, *mouse_ = nullptr, *pad_ = nullptr, *headset_ = nullptr,
                          *unplugged_ = nullptr;
};

TEST_F(SameModeTest, APadsBreathingPutsEveryOpenDeviceOnItsBreathingWithThePadsValues) {
  SetEffect(unplugged_, {.mode = 7});
  SetEffect(pad_, {.mode = 2, .brightness = 3, .speed = 1, .direction = 1, .red = 10, .green = 20, .blue = 30});
  SameMode(pad_);
  EXPECT_EQ(ModeOf(keyboard_), 6);
  EXPECT_EQ(ModeOf(mouse_), 2);
  EXPECT_EQ(ModeOf(pad_), 2);
  EXPECT_EQ(ModeOf(headset_), 2);
  for (controls::CDevicePageUI* page : {keyboard_, mouse_, pad_, headset_}) {
    const lighting::LightParams p = page->Device()->GetLightParams();
    EXPECT_EQ(p.brightness, 3);
    EXPECT_EQ(p.speed, 1);
    EXPECT_EQ(p.direction, 1);
    EXPECT_EQ(p.green, 20);
    EXPECT_TRUE(page->Device()->IsLightSynced());
  }
  EXPECT_EQ(ModeOf(unplugged_), 7) << "a page without a channel is left as it was";
  EXPECT_FALSE(unplugged_->Device()->IsLightSynced());
  EXPECT_EQ(shared_.Load(), (lighting::SharedEffect{.type = 0, .brightness = 3, .speed = 1, .direction = 1,
                                                     .multiColour = 0, .red = 10, .green = 20, .blue = 30}));
  EXPECT_EQ(panels_[0]->GetMode(), 6) << "each page's panel shows its new effect";
}

TEST_F(SameModeTest, EveryTypeMapsToEachKindsMode) {
  struct Row {
    int keyboard, mouse, pad;
  };
  const Row rows[] = {{6, 2, 2}, {5, 3, 3}, {23, 4, 4}, {40, 1, 1}, {28, 9, 8}};
  for (const Row& row : rows) {
    SetEffect(keyboard_, {.mode = std::uint8_t(row.keyboard)});
    SameMode(keyboard_);
    EXPECT_EQ(ModeOf(mouse_), row.mouse) << row.keyboard;
    EXPECT_EQ(ModeOf(pad_), row.pad) << row.keyboard;
    EXPECT_EQ(ModeOf(headset_), row.pad) << row.keyboard;
  }
  EXPECT_EQ(shared_.Load().type, 4);
}

TEST_F(SameModeTest, AnEffectNoOtherKindShowsChangesNothing) {
  SetEffect(mouse_, {.mode = 9});
  SetEffect(pad_, {.mode = 5});
  SameMode(pad_);
  EXPECT_EQ(ModeOf(mouse_), 9);
  EXPECT_FALSE(mouse_->Device()->IsLightSynced());
  EXPECT_EQ(shared_.Load(), lighting::SharedEffect{});
}

TEST_F(SameModeTest, OneDeviceLeftTakesThePagesOutOfTheSharedEffect) {
  SetEffect(pad_, {.mode = 2});
  SameMode(pad_);
  ASSERT_TRUE(pad_->Device()->IsLightSynced());
  editor_.OnDeviceTabsChanged(*pad_, false);
  EXPECT_FALSE(pad_->Device()->IsLightSynced());
  EXPECT_EQ(panels_[2]->GetSameModeFlag(), 0);
  editor_.OnDeviceTabsChanged(*pad_, true);
  EXPECT_EQ(panels_[2]->GetSameModeFlag(), 1);
}

TEST(ColourComponentText, LeadingNumbersClampedToAByte) {
  EXPECT_EQ(ColourComponentOfText("300"), 255);
  EXPECT_EQ(ColourComponentOfText("  12abc"), 12);
  EXPECT_EQ(ColourComponentOfText("+7"), 7);
  EXPECT_EQ(ColourComponentOfText("-5"), 0);
  EXPECT_EQ(ColourComponentOfText(""), 0);
  EXPECT_EQ(ColourComponentOfText("abc"), 0);
  EXPECT_EQ(ColourComponentOfText("99999999999999"), 255);
}

}  // namespace
}  // namespace norvane::editors
