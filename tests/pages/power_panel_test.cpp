// The power-status panel: what a status record shows.

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "controls/mp_device_power.h"
#include "uilib/slider.h"

namespace norvane::controls {
namespace {

class PowerPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(panel_->Build()); }
  ui::CControlUI* Child(const char* name) { return panel_->FindSubControl(name); }
  int Progress() { return dynamic_cast<ui::CProgressUI*>(Child("device_Power_progress"))->GetValue(); }
  QString Value() { return Child("device_power_value")->GetText(); }

  std::unique_ptr<CMpDevicePowerUI> panel_ = std::make_unique<CMpDevicePowerUI>();
};

TEST_F(PowerPanelTest, BatteryLinkAndChargeState) {
  panel_->SetKind(2);
  panel_->ShowStatus(std::array<uint8_t, 6>{80, 0, 0, 1, 0, 0});
  EXPECT_EQ(Value(), "80%");
  EXPECT_EQ(Progress(), 20);
  EXPECT_TRUE(Child("device_wuxian_logo")->IsVisible());
  EXPECT_EQ(panel_->StatusImage(), "file='power/powered.png'");
  EXPECT_FALSE(Child("device_phone_type")->IsVisible()) << "only the charging pad shows a phone";

  panel_->ShowStatus(std::array<uint8_t, 6>{5, 2, 0, 0, 0, 0});
  EXPECT_EQ(Value(), "5%");
  EXPECT_EQ(Progress(), 95);
  EXPECT_FALSE(Child("device_wuxian_logo")->IsVisible());
  EXPECT_EQ(panel_->StatusImage(), "file='power/power.png'");
  EXPECT_TRUE(Child("device_power_status")->IsVisible());
}

TEST_F(PowerPanelTest, ShortOversizedAndOutOfRangeRecordsClaimNothingFalse) {
  panel_->SetKind(3);
  panel_->ShowStatus(std::array<uint8_t, 2>{40, 1});  // padded: no link, no phone
  EXPECT_EQ(Value(), "40%");
  EXPECT_FALSE(Child("device_wuxian_logo")->IsVisible());
  EXPECT_EQ(panel_->StatusImage(), "file='power/powering.png'");
  EXPECT_EQ(panel_->PhoneTextId(), "Phone_type_no_device");

  panel_->ShowStatus({});
  EXPECT_EQ(Value(), "0%");

  std::array<uint8_t, 100> big{};
  big[0] = 250;  // no battery is 250 % full
  big[1] = 9;
  panel_->ShowStatus(big);
  EXPECT_EQ(Value(), "100%");
  EXPECT_EQ(Progress(), 0);
  EXPECT_EQ(panel_->StatusImage(), "") << "an unknown charge state claims nothing";
}

TEST_F(PowerPanelTest, ThePhoneOnTheChargingPad) {
  panel_->SetKind(CMpDevicePowerUI::kChargingPadKind);
  const std::array<std::pair<uint8_t, const char*>, 5> cases = {{{1, "Phone_type_iphone"},
                                                                 {2, "Phone_type_samsung"},
                                                                 {3, "Phone_type_other"},
                                                                 {7, "Phone_type_no_device"},
                                                                 {0, "Phone_type_no_device"}}};
  for (const auto& [type, textId] : cases) {
    panel_->ShowStatus(std::array<uint8_t, 6>{50, 0, 0, 0, 0, type});
    EXPECT_EQ(panel_->PhoneTextId(), textId) << int(type);
    EXPECT_EQ(Child("device_phone_text")->GetTextId(), textId) << "the name beside the picture";
  }
  EXPECT_EQ(panel_->PhoneImage(), "file='power/Phone_type_no_device.png'");
  EXPECT_TRUE(Child("device_phone_type")->IsVisible());
  EXPECT_TRUE(Child("device_phone_text")->IsVisible());
}

TEST_F(PowerPanelTest, PanelVisibility) {
  panel_->SetPanelVisible(false);
  EXPECT_FALSE(panel_->IsPanelVisible());
  panel_->SetPanelVisible(true);
  EXPECT_TRUE(panel_->IsPanelVisible());
}

}  // namespace
}  // namespace norvane::controls
