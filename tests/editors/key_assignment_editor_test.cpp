// The key assignment editor on a mouse page: the left button can never be taken off its last key, keys open
// only on the key tab and only within the key list, and an applied function reaches the device's list.
#include "editors/key_assignment_editor.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "controls/pages/device_page.h"
#include "devices/device_capabilities.h"
#include "devices/usb_device.h"
#include "editors/key_set_control.h"

namespace norvane::editors {
namespace {

constexpr KeyFunction kLeft{0x10, 0x01, 0x00};
constexpr KeyFunction kRight{0x10, 0x02, 0x00};

// A mouse that keeps its key list in memory.
class CListMouse final : public devices::CNorvaneUSBDevice, public devices::KeyTableOps {
 public:
  explicit CListMouse(std::vector<KeyAssignment> keys) : keys_(std::move(keys)) {
    hid::InterfaceEntry mouse;
    mouse.kind = hid::DeviceKind::kMouse;
    SetIdentity(mouse);
  }
  devices::KeyTableOps* KeyTable() override { return this; }
  int WriteKeyTable(int, std::span<const std::uint8_t>) override { return 1; }
  int WriteKeyTableExtra(int, std::span<const std::uint8_t>) override { return 1; }
  int WriteKeyTableFromProfile(int) override { return 1; }
  int WriteKeyTableExtraFromProfile(int) override { return 1; }
  std::span<const KeyAssignment> KeyAssignments() const override { return keys_; }
  void SetSelectedKeyAssignment(const KeyAssignment& assignment) override {
    keys_[std::size_t(SelectedKey())].current = assignment.current;
  }
  void RefreshKeyLabels() override { ++labelRefreshes; }
  int CommitKeyAssignments() override { return ++commits, 1; }

  std::vector<KeyAssignment> keys_;
  int labelRefreshes = 0;
  int commits = 0;
};

KeyAssignment Key(std::uint16_t index, KeyFunction current) {
  return {.key_index = index, .current = current, .default_key_index = index, .default_function = current};
}

class KeyAssignmentEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto device = std::make_unique<CListMouse>(std::vector<KeyAssignment>{Key(0, kLeft), Key(1, kRight), Key(2, kRight)});
    mouse_ = device.get();
    page_.SetDevice(std::move(device));
    page_.SetMessageSink([this](const ui::CDuiString& id, std::optional<int>) { told_.push_back(id.toStdString()); });
    panel_ = new CKeySetControlUI();
    panel_->setParent(&page_);
    panel_->setObjectName(CKeySetControlUI::kItemName);
    panel_->InitKeyEditor();
    mouse_->SelectFunctionTab(CKeyAssignmentEditor::kKeyTab);
  }
  void Route(RouteAction action, int number = 0) {
    editor_.OnRoute({.action = action, .number = number, .msg = nullptr, .page = &page_, .pageKind = 2});
  }

  controls::CDevicePageUI page_;
  CListMouse* mouse_ = nullptr;
  CKeySetControlUI* panel_ = nullptr;  // owned by the page
  CKeyAssignmentEditor editor_;
  std::vector<std::string> told_;
};

TEST_F(KeyAssignmentEditorTest, TheOnlyLeftButtonKeyStaysClosedUntilASecondKeyHasTheLeftButton) {
  Route(RouteAction::kKeyClicked, 0);
  EXPECT_FALSE(panel_->HasKey());
  EXPECT_EQ(told_, std::vector<std::string>{"message_text_6"});

  // Key 1 becomes a second left button; then key 0 opens, and so does key 1.
  Route(RouteAction::kKeyClicked, 1);
  ASSERT_TRUE(panel_->HasKey());
  auto* kinds = dynamic_cast<ui::CComboUI*>(panel_->FindSubControl("keyset_function_combo"));
  ASSERT_TRUE(kinds->SelectItem(kinds->FindItemByUserData("1"), false, false));  // a mouse button
  auto* buttons = dynamic_cast<ui::CComboUI*>(panel_->FindSubControl("keyset_mousekey_combo"));
  ASSERT_TRUE(buttons->SelectItem(0, false, false));  // the left button
  Route(RouteAction::kApplyKey);
  EXPECT_EQ(mouse_->keys_[1].current, kLeft);
  EXPECT_GE(mouse_->labelRefreshes, 1) << "an applied key relabels the picture";
  told_.clear();
  Route(RouteAction::kKeyClicked, 0);
  EXPECT_TRUE(told_.empty());
  EXPECT_EQ(mouse_->SelectedKey(), 0);
}

TEST_F(KeyAssignmentEditorTest, KeysOutsideTheListOrOffTheKeyTabOpenNothing) {
  Route(RouteAction::kKeyClicked, 3);
  Route(RouteAction::kKeyClicked, -1);
  EXPECT_FALSE(panel_->HasKey());
  mouse_->SelectFunctionTab(1);
  Route(RouteAction::kKeyClicked, 1);
  EXPECT_FALSE(panel_->HasKey());
  EXPECT_TRUE(told_.empty());
}

TEST_F(KeyAssignmentEditorTest, AMouseDefaultIsOnlyShownWhileAWriteIsAskedFor) {
  mouse_->keys_[1].default_function = kLeft;
  Route(RouteAction::kKeyClicked, 1);
  Route(RouteAction::kRestoreDefaultKey);
  EXPECT_EQ(mouse_->keys_[1].current, kRight) << "a mouse's default is shown, not applied";
  EXPECT_TRUE(panel_->AreEditButtonsEnabled());
  EXPECT_EQ(mouse_->commits, 0);
  Route(RouteAction::kCommitKeys);
  EXPECT_EQ(mouse_->commits, 1);
  EXPECT_FALSE(panel_->AreEditButtonsEnabled());
}

}  // namespace
}  // namespace norvane::editors
