#pragma once
// CUpdateInfoListItemUI: one row of the settings window's update list. It builds itself from the sub-skin
// "XML\CustomControlXML\device_Update_list_item.xml" (40 pixels high) and shows one item: its name on the
// check box "check_name_select", the current version "OldRev", the new version "updateRev" (hidden while
// empty), the state's status text "update_status_text", the done mark "update_status_ok", and while it
// downloads or installs the progress "update_status_ing" with its percentage "update_progress_value".
// The check box text takes the state's colours; an item under the pointer that is not checked is framed.

#include <memory>

#include "uilib/container.h"
#include "update/update_work.h"

namespace norvane::app {

class CUpdateInfoListItemUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "CUpdateInfoListItemUI";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\device_Update_list_item.xml";
  static constexpr int kHeight = 40;

  CUpdateInfoListItemUI();

  // A new item built from its sub-skin; null when the sub-skin cannot be read.
  static std::unique_ptr<CUpdateInfoListItemUI> Create();
  // Builds the sub-skin into the item (once); false when it cannot be read.
  bool Build();
  // An item placed by a skin builds itself here.
  void DoInit() override;

  void SetItemName(const ui::CDuiString& name);
  ui::CDuiString GetItemName() const;
  void SetNewVersion(const ui::CDuiString& version);
  ui::CDuiString GetNewVersion() const;
  void SetCurrentVersion(const ui::CDuiString& version);
  // The same state again changes nothing; showing or hiding the progress resets it to 0 %.
  void SetItemState(int state);
  int GetItemState() const { return state_; }
  void SetItemProgress(int percent);
  int GetItemProgress() const { return progress_; }
  bool IsChecked() const;
  // Checks the box; with `notify` the window hears "selectchanged" as after a click.
  void SetChecked(bool checked, bool notify);
  void SetCheckEnabled(bool enabled);
  bool IsHot() const { return hot_; }

  // Shows a whole item as the update list has it (the download address becomes the user data).
  void Show(const update::UpdateItem& item);

 protected:
  bool event(QEvent* e) override;
  QString ExtraStyle(const QString& selector) const override;

 private:
  ui::CControlUI* Child(const char* name) const;
  void ShowProgress(bool shown);

  bool built_ = false;
  int state_ = 0;
  int progress_ = 0;
  bool hot_ = false;
};

}  // namespace norvane::app
