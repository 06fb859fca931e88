#include "app/update_info_list_item.h"

#include <QEvent>
#include <QListWidget>

#include "uilib/color_value.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"
#include "uilib/slider.h"

namespace norvane::app {
namespace {

constexpr const char* kCheckName = "check_name_select";
constexpr const char* kNewVersionName = "updateRev";
constexpr const char* kCurrentVersionName = "OldRev";
constexpr const char* kStatusTextName = "update_status_text";
constexpr const char* kDoneMarkName = "update_status_ok";
constexpr const char* kProgressName = "update_status_ing";
constexpr const char* kProgressValueName = "update_progress_value";

// The frame of a hot item: the owning list's "itemhotbordercolor", else the theme's hover border.
constexpr ui::DWORD kDefaultHotBorder = 0xFF3A4050;

}  // namespace

CUpdateInfoListItemUI::CUpdateInfoListItemUI() {
  SetFixedHeight(kHeight);
}

std::unique_ptr<CUpdateInfoListItemUI> CUpdateInfoListItemUI::Create() {
  auto item = std::make_unique<CUpdateInfoListItemUI>();
  if (!item->Build()) return nullptr;
  return item;
}

bool CUpdateInfoListItemUI::Build() {
  if (built_) return true;
  built_ = LoadSubSkin(kSkin) != nullptr;
  if (built_) {
    const std::string_view initial = update::PresentationOf(state_).statusTextId;
    if (ui::CControlUI* status = Child(kStatusTextName))
      status->SetTextId(QString::fromUtf8(initial.data(), qsizetype(initial.size())));
    ShowProgress(false);
    if (ui::CControlUI* done = Child(kDoneMarkName)) done->SetVisible(false);
    if (ui::CControlUI* newVersion = Child(kNewVersionName)) newVersion->SetVisible(false);
  }
  return built_;
}

void CUpdateInfoListItemUI::DoInit() {
  Build();
}

ui::CControlUI* CUpdateInfoListItemUI::Child(const char* name) const {
  return ui::CPaintManagerUI::FindSubControlByName(const_cast<CUpdateInfoListItemUI*>(this), name);
}

void CUpdateInfoListItemUI::SetItemName(const ui::CDuiString& name) {
  if (ui::CControlUI* check = Child(kCheckName)) {
    check->SetResourceText(false);
    check->SetText(name);
  }
}

ui::CDuiString CUpdateInfoListItemUI::GetItemName() const {
  const ui::CControlUI* check = Child(kCheckName);
  return check ? check->GetText() : ui::CDuiString();
}

void CUpdateInfoListItemUI::SetNewVersion(const ui::CDuiString& version) {
  if (ui::CControlUI* label = Child(kNewVersionName)) {
    label->SetResourceText(false);
    label->SetText(version);
    label->SetVisible(!version.isEmpty());
  }
}

ui::CDuiString CUpdateInfoListItemUI::GetNewVersion() const {
  const ui::CControlUI* label = Child(kNewVersionName);
  return label ? label->GetText() : ui::CDuiString();
}

void CUpdateInfoListItemUI::SetCurrentVersion(const ui::CDuiString& version) {
  if (ui::CControlUI* label = Child(kCurrentVersionName)) {
    label->SetResourceText(false);
    label->SetText(version);
  }
}

void CUpdateInfoListItemUI::ShowProgress(bool shown) {
  progress_ = 0;
  if (ui::CControlUI* bar = Child(kProgressName)) bar->SetVisible(shown);
  if (ui::CControlUI* value = Child(kProgressValueName)) value->SetVisible(shown);
  SetItemProgress(0);
}

void CUpdateInfoListItemUI::SetItemState(int state) {
  if (state == state_) return;
  const update::StatePresentation& before = update::PresentationOf(state_);
  const update::StatePresentation& now = update::PresentationOf(state);
  state_ = state;
  if (ui::CControlUI* status = Child(kStatusTextName))
    status->SetTextId(QString::fromUtf8(now.statusTextId.data(), qsizetype(now.statusTextId.size())));
  if (before.progressShown != now.progressShown) ShowProgress(now.progressShown);
  if (ui::CControlUI* done = Child(kDoneMarkName)) done->SetVisible(now.doneShown);
  SetCheckEnabled(now.checkEnabled);
  ApplyStyle();
}

void CUpdateInfoListItemUI::SetItemProgress(int percent) {
  progress_ = percent;
  if (auto* bar = dynamic_cast<ui::CProgressUI*>(Child(kProgressName))) bar->SetValue(percent);
  if (ui::CControlUI* value = Child(kProgressValueName)) {
    value->SetResourceText(false);
    value->SetText(QStringLiteral("%1%2").arg(percent).arg(QStringLiteral("%")));
  }
}

bool CUpdateInfoListItemUI::IsChecked() const {
  const auto* check = dynamic_cast<const ui::COptionUI*>(Child(kCheckName));
  return check && check->IsSelected();
}

void CUpdateInfoListItemUI::SetChecked(bool checked, bool notify) {
  auto* check = dynamic_cast<ui::COptionUI*>(Child(kCheckName));
  if (!check || check->IsSelected() == checked) return;
  check->Selected(checked, notify);
  ApplyStyle();
}

void CUpdateInfoListItemUI::SetCheckEnabled(bool enabled) {
  if (ui::CControlUI* check = Child(kCheckName)) check->SetEnabled(enabled);
}

void CUpdateInfoListItemUI::Show(const update::UpdateItem& item) {
  SetItemName(QString::fromStdString(item.info.name));
  SetCurrentVersion(QString::fromStdString(item.info.currentVersion));
  SetItemState(item.info.state);
  // Nothing newer to show once the item is up to date.
  SetNewVersion(item.info.state == update::kStateUpToDate ? QString() : QString::fromStdString(item.info.newVersion));
  if (update::PresentationOf(item.info.state).progressShown && item.progress != progress_) SetItemProgress(item.progress);
  SetCheckEnabled(item.checkEnabled);
  SetChecked(item.checked, false);
  SetUserData(QString::fromStdString(item.info.downloadUrl));
}

bool CUpdateInfoListItemUI::event(QEvent* e) {
  if (e->type() == QEvent::Enter && isEnabled()) {
    hot_ = true;
    ApplyStyle();
  } else if (e->type() == QEvent::Leave && hot_) {
    hot_ = false;
    ApplyStyle();
  }
  return CHorizontalLayoutUI::event(e);
}

QString CUpdateInfoListItemUI::ExtraStyle(const QString& selector) const {
  const update::StatePresentation& look = update::PresentationOf(state_);
  QString sheet = QStringLiteral("%1 QCheckBox#%2{color:%3;}%1 QCheckBox#%2:disabled{color:%4;}")
                      .arg(selector, kCheckName, CssColor(look.textColor), CssColor(look.disabledTextColor));
  if (hot_ && !IsChecked()) {
    ui::DWORD frame = kDefaultHotBorder;
    for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
      if (qobject_cast<QListWidget*>(up)) {
        if (auto color = ui::ParseColorValue(up->property("itemhotbordercolor").toString())) frame = *color;
        break;
      }
    }
    sheet += QStringLiteral("%1{border:1px solid %2;border-radius:6px;}").arg(selector, CssColor(frame));
  }
  return sheet;
}

}  // namespace norvane::app
