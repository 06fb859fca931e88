#pragma once
// CDeviceProfileUI (skin class "DeviceProfile"; device pages find it as "DeviceProfileItem"): the profile
// bar of a device page. It shows the device's profiles (CDeviceProfileList) in its combo box, the selected
// profile's name in its edit, a fold-out menu of profile buttons and the row of function tabs, and runs the
// profile operations. After every operation the combo shows the list as it is on disk, so a failed file
// write leaves the bar and the files in step.
//
// The bar builds its content from the sub-skin "XML\CustomControlXML\DeviceProfile.xml".

#include <QPointer>
#include <filesystem>

#include "profiles/profile_list.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/notify.h"

namespace norvane::controls {

class CDeviceProfileUI : public ui::CVerticalLayoutUI {
 public:
  static constexpr const char* kClassName = "DeviceProfile";
  static constexpr const char* kItemName = "DeviceProfileItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\DeviceProfile.xml";

  explicit CDeviceProfileUI(const TimeSource& time = TimeSource::System());

  void DoInit() override;

  void SetDeviceKind(int kind);
  int GetDeviceKind() const { return list_.GetDeviceKind(); }
  void SetFolders(const std::filesystem::path& dataFolder, const std::filesystem::path& defaultTemplate);
  // Reads the list (making a first profile when there is none), fills the combo, selects the stored
  // profile and shows the function tabs of the device kind.
  ProfileListResult LoadProfileList();

  // Selects exactly one function tab, 1..8 ("deng_Op_tab" ... "Virtual7.1_Op_tab"); nothing until the bar
  // has all eight.
  void SelectTab(int number);

  // Selects profile index (the first profile when outside the list) and stores the choice. With notify the
  // combo raises its "itemselect".
  ProfileListResult SelectProfile(int index, bool notify);
  // The combo's selection; -1 when none or there is no combo.
  int GetSelectedIndex();
  ui::CDuiString GetCurrentProfileId() const;
  int GetProfileCount() const { return list_.GetProfileCount(); }
  // Data folder + identifier + ".Json"; empty outside the list.
  ui::CDuiString GetProfilePath(int index) const;

  ui::CDuiString GetNameText();
  void SetNameText(const ui::CDuiString& text);

  void ShowProfileMenu(bool show);
  bool IsProfileMenuShown();

  ProfileListResult AddProfile();
  ProfileListResult DeleteProfile();
  ProfileListResult CopyProfile();
  ProfileListResult ImportProfile(const ui::CDuiString& path);
  ProfileListResult ExportProfile(const ui::CDuiString& path);
  ProfileListResult ResetProfile();
  ProfileListResult RenameProfile(const ui::CDuiString& name);

  // The bar's own notifications that need no confirmation: a combo choice selects that profile (true;
  // the caller then loads GetCurrentProfileId()), "profile_fun_spread_btn" toggles the menu. False for
  // anything else.
  bool HandleNotify(const ui::TNotifyUI& msg);

  const CDeviceProfileList& List() const { return list_; }

 private:
  ui::CComboUI* Combo();
  ui::CEditUI* NameEdit();
  ui::CControlUI* Find(const char* name);
  void EnsureBuilt();
  // Refills the combo from the list and shows its selection and name.
  void ShowList();
  void ShowTabsForKind();

  CDeviceProfileList list_;
  bool built_ = false;
};

// The language text id that tells the user why an operation did not complete; empty when there is nothing
// to say (done, or refused silently as the rules say). Rename gives its own texts for its codes.
ui::CDuiString ProfileResultMessageId(const ProfileListResult& result, bool isRename = false);

}  // namespace norvane::controls
