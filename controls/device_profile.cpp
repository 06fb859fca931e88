#include "controls/device_profile.h"

#include "devices/device_kinds.h"
#include "profiles/profile_tabs.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"

namespace norvane::controls {

namespace {

constexpr const char* kComboName = "device_profile_combo";
constexpr const char* kNameEditName = "device_profile_name_edit";
constexpr const char* kMenuName = "profile_menu_layout";
constexpr const char* kMenuToggleName = "profile_fun_spread_btn";
constexpr int kComboItemHeight = 30;

std::filesystem::path PathFromText(const ui::CDuiString& text) {
  const std::string utf8 = text.ToUtf8();
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

ui::CDuiString TextFromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return ui::CDuiString(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

// A kind of the kinds table shows the tabs its row names; the icon-only kinds (no row) keep the bar's own
// rule.
bool TabShown(int kind, std::string_view tab) {
  if (kind > 0 && kind <= 0xFFFF && devices::FindDeviceKind(std::uint16_t(kind))) {
    for (std::size_t i = 0; i < kProfileTabNames.size(); ++i) {
      if (kProfileTabNames[i] == tab) return devices::ShowsFunctionTab(std::uint16_t(kind), int(i) + 1);
    }
    return true;
  }
  return IsProfileTabVisible(kind, tab);
}

}  // namespace

CDeviceProfileUI::CDeviceProfileUI(const TimeSource& time) : list_(time) {}

void CDeviceProfileUI::DoInit() {
  EnsureBuilt();
}

void CDeviceProfileUI::EnsureBuilt() {
  if (built_) return;
  built_ = true;
  if (!FindSubControl(kComboName)) LoadSubSkin(kSkin);
  if (ui::CComboUI* combo = Combo()) {
    // Profile rows are as tall as the bar's other rows, whatever the style's default.
    combo->setStyleSheet(
        QStringLiteral("QComboBox QAbstractItemView::item{min-height:%1px;}").arg(kComboItemHeight));
  }
  // The profile menu starts folded; "profile_fun_spread_btn" opens it.
  if (ui::CControlUI* menu = FindSubControl(kMenuName)) menu->SetVisible(false);
  // So does the rule panel; "profile_rules_spread_btn" opens it.
  if (ui::CControlUI* rules = FindSubControl("profile_rules_layout")) rules->SetVisible(false);
}

ui::CControlUI* CDeviceProfileUI::Find(const char* name) {
  EnsureBuilt();
  return FindSubControl(name);
}

ui::CComboUI* CDeviceProfileUI::Combo() {
  return dynamic_cast<ui::CComboUI*>(Find(kComboName));
}

ui::CEditUI* CDeviceProfileUI::NameEdit() {
  return dynamic_cast<ui::CEditUI*>(Find(kNameEditName));
}

void CDeviceProfileUI::SetDeviceKind(int kind) {
  list_.SetDeviceKind(kind);
}

void CDeviceProfileUI::SetFolders(const std::filesystem::path& dataFolder,
                                  const std::filesystem::path& defaultTemplate) {
  list_.SetFolders(dataFolder, defaultTemplate);
}

ProfileListResult CDeviceProfileUI::LoadProfileList() {
  ProfileListResult result = list_.LoadProfileList();
  ShowList();
  ShowTabsForKind();
  return result;
}

void CDeviceProfileUI::ShowList() {
  if (ui::CComboUI* combo = Combo()) {
    ui::CPaintManagerUI::NotifySuppressor quiet(GetManager());
    const std::vector<std::string> names = list_.Names();
    bool same = combo->GetCount() == int(names.size());
    for (int i = 0; same && i < combo->GetCount(); ++i)
      same = combo->GetItemText(i) == ui::CDuiString(names[i]);
    // Only a changed list is rebuilt, so a selection made in the combo itself never pulls its items away.
    if (!same) {
      combo->RemoveAll();
      for (const std::string& name : names) combo->AddItem(ui::CDuiString(name), false, ui::CDuiString(name));
    }
    if (list_.GetSelectedIndex() >= 0) combo->SelectItem(list_.GetSelectedIndex(), false, false);
  }
  SetNameText(ui::CDuiString(list_.GetNameText()));
}

void CDeviceProfileUI::ShowTabsForKind() {
  for (std::string_view tab : kProfileTabNames) {
    const std::string name(tab);
    if (ui::CControlUI* control = Find(name.c_str()))
      control->SetVisible(TabShown(list_.GetDeviceKind(), tab));
  }
}

void CDeviceProfileUI::SelectTab(int number) {
  if (ProfileTabName(number).empty()) return;
  std::vector<ui::COptionUI*> tabs;
  for (std::string_view tab : kProfileTabNames) {
    const std::string name(tab);
    auto* option = dynamic_cast<ui::COptionUI*>(Find(name.c_str()));
    if (!option) return;
    tabs.push_back(option);
  }
  for (std::size_t i = 0; i < tabs.size(); ++i) tabs[i]->Selected(int(i) + 1 == number, false);
}

ProfileListResult CDeviceProfileUI::SelectProfile(int index, bool notify) {
  const int before = GetSelectedIndex();
  ProfileListResult result = list_.SelectProfile(index);
  ShowList();
  if (ui::CComboUI* combo = Combo()) {
    combo->SetFocus();
    const int now = combo->GetCurSel();
    if (notify && now >= 0 && now != before)
      combo->SendNotify(ui::DUI_MSGTYPE_ITEMSELECT, ui::WPARAM(now), before);
  }
  return result;
}

int CDeviceProfileUI::GetSelectedIndex() {
  ui::CComboUI* combo = Combo();
  return combo ? combo->GetCurSel() : -1;
}

ui::CDuiString CDeviceProfileUI::GetCurrentProfileId() const {
  return ui::CDuiString(list_.GetCurrentProfileId());
}

ui::CDuiString CDeviceProfileUI::GetProfilePath(int index) const {
  return TextFromPath(list_.GetProfilePath(index));
}

ui::CDuiString CDeviceProfileUI::GetNameText() {
  ui::CEditUI* edit = NameEdit();
  return edit ? edit->GetText() : ui::CDuiString();
}

void CDeviceProfileUI::SetNameText(const ui::CDuiString& text) {
  if (ui::CEditUI* edit = NameEdit()) edit->SetText(text);
}

void CDeviceProfileUI::ShowProfileMenu(bool show) {
  if (ui::CControlUI* menu = Find(kMenuName)) menu->SetVisible(show);
}

bool CDeviceProfileUI::IsProfileMenuShown() {
  ui::CControlUI* menu = Find(kMenuName);
  return menu && menu->IsVisible();
}

ProfileListResult CDeviceProfileUI::AddProfile() {
  ProfileListResult result = list_.AddProfile();
  ShowList();
  return result;
}

ProfileListResult CDeviceProfileUI::DeleteProfile() {
  ProfileListResult result = list_.DeleteProfile();
  ShowList();
  return result;
}

ProfileListResult CDeviceProfileUI::CopyProfile() {
  ProfileListResult result = list_.CopyProfile();
  ShowList();
  return result;
}

ProfileListResult CDeviceProfileUI::ImportProfile(const ui::CDuiString& path) {
  ProfileListResult result = list_.ImportProfile(PathFromText(path));
  ShowList();
  return result;
}

ProfileListResult CDeviceProfileUI::ExportProfile(const ui::CDuiString& path) {
  return list_.ExportProfile(PathFromText(path));
}

ProfileListResult CDeviceProfileUI::ResetProfile() {
  return list_.ResetProfile();
}

ProfileListResult CDeviceProfileUI::RenameProfile(const ui::CDuiString& name) {
  ProfileListResult result = list_.RenameProfile(name.ToUtf8());
  ShowList();
  return result;
}

bool CDeviceProfileUI::HandleNotify(const ui::TNotifyUI& msg) {
  if (!msg.pSender) return false;
  const ui::CDuiString sender = msg.pSender->GetName();
  if (msg.sType == ui::DUI_MSGTYPE_ITEMSELECT && msg.pSender == Combo()) {
    SelectProfile(int(msg.wParam), false);
    return true;
  }
  if (msg.sType == ui::DUI_MSGTYPE_CLICK && sender == kMenuToggleName &&
      Find(kMenuToggleName) == msg.pSender) {
    ShowProfileMenu(!IsProfileMenuShown());
    return true;
  }
  return false;
}

ui::CDuiString ProfileResultMessageId(const ProfileListResult& result, bool isRename) {
  if (result.code == ProfileListResult::kFileError) return "profile_file_error_text";
  if (!isRename) return {};
  switch (result.code) {
    case ProfileListResult::kNothingDone:
      return "message_text_5";
    case ProfileListResult::kBlankName:
      return "message_text_25";
    case ProfileListResult::kAmpersandInName:
      return "message_text_30";
    default:
      return {};
  }
}

}  // namespace norvane::controls
