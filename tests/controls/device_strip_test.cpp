// The device strip: which tab is shown and selected, which pages the layouts show, and which page is
// current, as devices come and go.

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "tests/controls/strip_test_window.h"

namespace norvane::controls::test {
namespace {

class DeviceStripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(nullptr, "strip", false));
    strip_ = window_.Strip();
    ASSERT_TRUE(strip_.tabs && strip_.pages && strip_.powerPages && strip_.noDeviceNotice);
    // The middle device has no power page.
    for (int i = 0; i < 3; ++i) tabs_[i] = window_.AddTab(pages_[i], i, i == 1 ? -1 : i);
  }

  bool Shown(int i) { return tabs_[i]->IsVisible(); }

  StripWindow window_;
  DeviceStrip strip_;
  std::array<FakeDevicePage, 3> pages_;
  std::array<CDeviceOptionUI*, 3> tabs_{};
};

TEST_F(DeviceStripTest, ShowingAndHidingKeepsOneVisibleTabSelected) {
  EXPECT_EQ(CurrentDevicePage(strip_), nullptr) << "no device yet";

  ShowDeviceTab(strip_, 0, true, true);
  EXPECT_TRUE(Shown(0));
  EXPECT_TRUE(tabs_[0]->IsSelected());
  EXPECT_FALSE(strip_.noDeviceNotice->IsVisible());
  EXPECT_EQ(strip_.pages->GetCurSel(), 0);
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[0]);
  EXPECT_FALSE(pages_[0].moreThanOneTab);

  ShowDeviceTab(strip_, 2, true, false);
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[0]) << "showing without selecting keeps the selection";
  EXPECT_TRUE(pages_[0].moreThanOneTab);
  EXPECT_TRUE(pages_[2].moreThanOneTab);

  int closedChildWindows = 0;
  HideDeviceTab(strip_, 0, [&] { ++closedChildWindows; });
  EXPECT_EQ(closedChildWindows, 1);
  EXPECT_FALSE(Shown(0));
  EXPECT_TRUE(tabs_[2]->IsSelected()) << "the other device takes over";
  EXPECT_EQ(strip_.pages->GetCurSel(), 2);
  EXPECT_EQ(strip_.powerPages->GetCurSel(), 2);
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[2]);
  EXPECT_FALSE(pages_[2].moreThanOneTab);

  HideDeviceTab(strip_, 2, [&] { ++closedChildWindows; });
  EXPECT_EQ(closedChildWindows, 2);
  EXPECT_EQ(CurrentDevicePage(strip_), nullptr) << "a selected but hidden tab is not current";
  EXPECT_TRUE(strip_.noDeviceNotice->IsVisible());
  EXPECT_EQ(strip_.pages->GetCurSel(), 0);
  EXPECT_EQ(strip_.powerPages->GetCurSel(), 0);
}

TEST_F(DeviceStripTest, HidingAnUnselectedOrMissingTabKeepsTheSelection) {
  ShowDeviceTab(strip_, 0, true, true);
  ShowDeviceTab(strip_, 1, true, false);
  int callbacks = 0;
  HideDeviceTab(strip_, 1, [&] { ++callbacks; });
  EXPECT_EQ(callbacks, 0);
  for (int index : {-1, 3, 1000}) HideDeviceTab(strip_, index, [&] { ++callbacks; });
  EXPECT_EQ(callbacks, 0);
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[0]);
}

TEST_F(DeviceStripTest, ATabWithoutPowerPageHidesThePowerLayout) {
  ShowDeviceTab(strip_, 1, true, true);
  EXPECT_FALSE(strip_.powerPages->IsVisible());
  EXPECT_EQ(strip_.pages->GetCurSel(), 1);
  ShowDeviceTab(strip_, 2, true, true);
  EXPECT_TRUE(strip_.powerPages->IsVisible());
  EXPECT_EQ(strip_.powerPages->GetCurSel(), 2);
  EXPECT_FALSE(tabs_[1]->IsSelected()) << "the option group keeps one tab selected";
}

TEST_F(DeviceStripTest, ClickingATabShowsItsPages) {
  ShowDeviceTab(strip_, 0, true, true);
  ShowDeviceTab(strip_, 2, true, false);
  window_.ShowWindow(true, false);
  auto* option = dynamic_cast<QAbstractButton*>(tabs_[2]->GetDeviceOption()->GetWidget());
  ASSERT_NE(option, nullptr);
  tabs_[2]->SetIconKind(3, 1);
  option->click();
  const SelectedDevice chosen = SelectedDeviceOf(strip_);
  EXPECT_EQ(chosen.tabIndex, 2);
  EXPECT_EQ(chosen.kind, 3);
  EXPECT_EQ(chosen.variant, 1);
  EXPECT_EQ(strip_.pages->GetCurSel(), 2);
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[2]);
  EXPECT_FALSE(tabs_[0]->IsSelected());
}

TEST_F(DeviceStripTest, PreviousAndNextSkipHiddenTabsAndStopAtTheEnds) {
  ShowDeviceTab(strip_, 0, true, true);
  ShowDeviceTab(strip_, 2, true, false);
  EXPECT_FALSE(SelectPreviousDevice(strip_));
  EXPECT_EQ(SelectedDeviceTab(strip_), 0);
  EXPECT_TRUE(SelectNextDevice(strip_));
  EXPECT_EQ(SelectedDeviceTab(strip_), 2) << "the hidden middle tab is skipped";
  EXPECT_FALSE(SelectNextDevice(strip_));
  EXPECT_TRUE(SelectPreviousDevice(strip_));
  EXPECT_EQ(SelectedDeviceTab(strip_), 0);
}

TEST_F(DeviceStripTest, ALoneSynchroTabIsUnchecked) {
  ShowDeviceTab(strip_, 0, true, true);
  ShowDeviceTab(strip_, 2, true, false);
  for (int i : {0, 2}) {
    tabs_[i]->SetIconKind(i == 0 ? 1 : 2, 0);
    tabs_[i]->SetSynchro(true);
  }
  ShowDeviceTab(strip_, 2, true, false);
  EXPECT_TRUE(tabs_[0]->IsSynchroChecked()) << "two visible synchro tabs keep their state";
  EXPECT_EQ(tabs_[0]->CurrentImage(), tabs_[0]->GetIcons().synchroSelected);

  HideDeviceTab(strip_, 2);
  EXPECT_FALSE(tabs_[0]->IsSynchroChecked());
  EXPECT_FALSE(tabs_[2]->IsSynchroChecked());
  EXPECT_EQ(tabs_[0]->CurrentImage(), "common/device_ico/kb_device_selected.svg");
}

TEST_F(DeviceStripTest, LinkMessagesShowAndHideTabs) {
  HandleDeviceTabMessage(strip_, 2, 1);
  EXPECT_TRUE(Shown(2));
  EXPECT_TRUE(tabs_[2]->IsSelected()) << "the first device shown is selected";
  HandleDeviceTabMessage(strip_, 0, 1);
  EXPECT_TRUE(Shown(0));
  EXPECT_FALSE(tabs_[0]->IsSelected()) << "a later one is only shown";
  HandleDeviceTabMessage(strip_, 2, 0);
  EXPECT_FALSE(Shown(2));
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[0]);
  HandleDeviceTabMessage(strip_, ui::WPARAM(-1), 1);
  HandleDeviceTabMessage(strip_, 99, 0);
  EXPECT_EQ(CurrentDevicePage(strip_), &pages_[0]);
}

TEST_F(DeviceStripTest, APadOfAnUnknownVariantKeepsItsIcons) {
  tabs_[0]->SetIconKind(3, 0);
  const DeviceIconSet before = tabs_[0]->GetIcons();
  tabs_[0]->SetIconKind(3, 4);
  EXPECT_EQ(tabs_[0]->GetIcons().normal, before.normal);
  EXPECT_EQ(tabs_[0]->GetIcons().tooltipTextId, "hard_mp_device_name_text");
}

}  // namespace
}  // namespace norvane::controls::test
