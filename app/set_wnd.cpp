#include "app/set_wnd.h"

#include <QListWidgetItem>
#include <QWidget>
#include <mutex>
#include <set>

#include "app/about_wnd.h"
#include "app/language_config.h"
#include "app/main_messages.h"
#include "app/message_texts.h"
#include "app/message_window.h"
#include "app/update_info_list_item.h"
#include "app/worker_slots.h"
#include "platform/registry_settings.h"
#include "platform/trace.h"
#include "uilib/combo.h"
#include "uilib/list.h"
#include "uilib/tab_layout.h"

namespace norvane::app {
namespace {

// The news the update work posts to the window (window-private numbers).
constexpr ui::UINT kMsgUpdateItemAdded = ui::WM_USER + 0x300;       // wParam: index
constexpr ui::UINT kMsgUpdateItemChanged = ui::WM_USER + 0x301;     // wParam: index
constexpr ui::UINT kMsgUpdateStatus = ui::WM_USER + 0x302;          // wParam: status code
constexpr ui::UINT kMsgInstallerNotStarted = ui::WM_USER + 0x303;   // wParam: index

constexpr const char* kLanguageCombo = "Language_combox_info";
constexpr const char* kUpdateList = "device_update_list_info";
constexpr const char* kUpdateButton = "update_fw_and_ap";
constexpr const char* kUpdateTabs = "get_update_tab_layout";
constexpr const char* kHintLayout = "update_tishi_layout";
constexpr const char* kStatusRing = "update_status_ring";
constexpr const char* kStatusImage = "update_status_image";
constexpr const char* kStatusText = "Update_Status_text";
constexpr const char* kCheckName = "check_name_select";
constexpr const char* kHiddenTextLabel = "text_test";

// The text shown when an installer cannot be started.
constexpr const char* kUpdateFailedTextId = "UpdateFailedMsgText";

}  // namespace

// Carries the update work's news to the window's thread. Item changes are coalesced: one posted message
// per item until the window has read it, however often a download reports its progress meanwhile.
class CSetWnd::Listener final : public update::IUpdateListener {
 public:
  explicit Listener(ui::WindowHandle window) : window_(std::move(window)) {}

  void ItemAdded(int index) override { window_.PostMessage(kMsgUpdateItemAdded, ui::WPARAM(index)); }
  void ItemChanged(int index) override {
    {
      std::lock_guard lock(mutex_);
      if (!pending_.insert(index).second) return;
    }
    window_.PostMessage(kMsgUpdateItemChanged, ui::WPARAM(index));
  }
  void StatusChanged(int status) override { window_.PostMessage(kMsgUpdateStatus, ui::WPARAM(status)); }
  void InstallerNotStarted(int index) override { window_.PostMessage(kMsgInstallerNotStarted, ui::WPARAM(index)); }

  // The window reads item `index` now: later changes post again.
  void Taken(int index) {
    std::lock_guard lock(mutex_);
    pending_.erase(index);
  }

 private:
  ui::WindowHandle window_;
  std::mutex mutex_;
  std::set<int> pending_;
};

CSetWnd::CSetWnd(Setup setup) : setup_(std::move(setup)), languageIndex_(setup_.languageIndex) {}

CSetWnd::~CSetWnd() {
  StopUpdateWorkers();
}

void CSetWnd::InitWindow() {
  m_messageMap.Bind(ui::DUI_MSGTYPE_WINDOWINIT, [this](ui::TNotifyUI&) { OnWindowInit(); });
  m_messageMap.Bind(ui::DUI_MSGTYPE_SELECTCHANGED, [this](ui::TNotifyUI& msg) { OnSelectChanged(msg); });
  m_messageMap.Bind(ui::DUI_MSGTYPE_ITEMSELECT, [this](ui::TNotifyUI& msg) { OnLanguageChosen(msg); });
  // Sized without moving: the opener places it.
  ResizeClient(kWidth, kHeight);
  if (ui::CControlUI* button = FindControl(kUpdateButton)) {
    button->SetEnabled(false);
    button->SetVisible(false);
  }
}

void CSetWnd::OnWindowInit() {
  FillLanguageList();
  // The update work: the list starts empty and fills as the check worker adds the entries.
  listener_ = std::make_shared<Listener>(GetHWND());
  update::UpdateServices services = setup_.services ? setup_.services() : update::DefaultUpdateServices();
  work_ = std::make_unique<update::UpdateWork>(setup_.entries, listener_, std::move(services));
  work_->Start();
}

void CSetWnd::FillLanguageList() {
  auto* combo = FindControlAs<ui::CComboUI>(kLanguageCombo);
  if (!combo) return;
  ui::CPaintManagerUI::NotifySuppressor quiet(&m_pm);
  combo->RemoveAll();
  for (const LanguageEntry& entry : ReadLanguageConfig()) combo->AddItem(QString::fromStdString(entry.textId), true);
  if (!combo->SelectItem(languageIndex_, false, false)) combo->ClearSelection();
}

void CSetWnd::OnLanguageChosen(ui::TNotifyUI& msg) {
  auto* combo = dynamic_cast<ui::CComboUI*>(msg.pSender);
  if (!combo || combo->GetName() != kLanguageCombo) return;
  const int index = combo->GetCurSel();
  // Nothing chosen (or nothing there to choose) is no language.
  if (index < 0 || index >= combo->GetCount()) return;
  if (!setup_.mainWindow) return;
  languageIndex_ = index;
  // The choice is to be kept: the key that keeps it exists from the first choice on.
  if (!setup_.settingsFile.empty()) {
    const FileResult created = RegistrySettings(setup_.settingsFile).CreateKeyIfMissing();
    if (!created) Trace("settings window: " + created.error);
  }
  setup_.mainWindow.SendMessage(kMsgSwitchLanguage, ui::WPARAM(index), 0);
}

void CSetWnd::OnSelectChanged(ui::TNotifyUI& msg) {
  if (!msg.pSender || msg.pSender->GetName() != kCheckName || !work_) return;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    CUpdateInfoListItemUI* item = items_[i];
    if (!item || !item->isAncestorOf(msg.pSender->GetWidget())) continue;
    work_->SetChecked(static_cast<int>(i), msg.wParam != 0);
    break;
  }
  RefreshUpdateButton();
}

void CSetWnd::RefreshUpdateButton() {
  ui::CControlUI* button = FindControl(kUpdateButton);
  if (!button || !work_) return;
  bool anyChecked = false;
  for (const update::UpdateItem& item : work_->Items()) anyChecked = anyChecked || item.checked;
  // Shown while something is checked; it starts nothing new while an update is under way.
  button->SetEnabled(anyChecked && !work_->UpdateRunning());
  button->SetVisible(anyChecked);
}

void CSetWnd::OnItemAdded(int index) {
  auto* list = FindControlAs<ui::CListUI>(kUpdateList);
  const std::optional<update::UpdateItem> item = work_ ? work_->Item(index) : std::nullopt;
  if (!list || !item || index != static_cast<int>(items_.size())) return;
  std::unique_ptr<CUpdateInfoListItemUI> row = CUpdateInfoListItemUI::Create();
  if (!row) {
    Trace("settings window: the update list item cannot be built");
    items_.emplace_back();
    return;
  }
  row->Show(*item);
  m_pm.ApplyScaleTo(row->GetWidget());
  const int at = list->AddControl(row.get());
  // The row is as high as its skin says, whatever its layout would ask for.
  if (QListWidgetItem* cell = list->item(at)) cell->setSizeHint(QSize(row->width(), m_pm.Scale(CUpdateInfoListItemUI::kHeight)));
  items_.emplace_back(row.release());
}

void CSetWnd::OnItemChanged(int index) {
  if (!work_) return;
  listener_->Taken(index);
  const std::optional<update::UpdateItem> item = work_->Item(index);
  if (!item || index < 0 || index >= static_cast<int>(items_.size()) || !items_[index]) return;
  {
    ui::CPaintManagerUI::NotifySuppressor quiet(&m_pm);
    items_[index]->Show(*item);
  }
  RefreshUpdateButton();
}

void CSetWnd::SetUpdateStatus(int code) {
  pageCode_ = code;
  if (ui::CControlUI* ring = FindControl(kStatusRing)) ring->SetVisible(code == update::kStatusChecking);
  if (ui::CControlUI* image = FindControl(kStatusImage)) image->SetVisible(code != update::kStatusChecking);
  ui::CControlUI* text = FindControl(kStatusText);
  if (code == update::kStatusLatest) {
    if (text) {
      const ui::CDuiString latest = ResolveLanguageText(FindControl(kHiddenTextLabel), "UpdateIsLastText");
      text->SetResourceText(false);
      text->SetText(latest + QString::fromStdString(work_ ? work_->LastCheckDate() : std::string()));
    }
    if (setup_.mainWindow) setup_.mainWindow.SendMessage(kMsgClearUpdateBadge);
    return;
  }
  const std::string_view id = update::StatusTextId(code);
  if (text && !id.empty()) text->SetTextId(QString::fromUtf8(id.data(), qsizetype(id.size())));
}

void CSetWnd::StopUpdateWorkers() {
  // A worker left running keeps what it uses; the program then ends without tearing that down under it.
  if (work_ && work_->Stop() > 0) NoteWorkerLeftRunning();
}

bool CSetWnd::RefusesToClose() const {
  return work_ && work_->UpdateRunning();
}

void CSetWnd::OnClick(ui::TNotifyUI& msg) {
  if (!msg.pSender) return;
  const ui::CDuiString name = msg.pSender->GetName().toLower();
  if (name == "closebtn" || name == "laterbtn") {
    StopUpdateWorkers();
    Close(0);
  } else if (name == "minbtn") {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
  } else if (name == "maxbtn") {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
  } else if (name == "restorebtn") {
    HandleMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
  } else if (name == "set_in_update_wnd_btn") {
    if (ui::CControlUI* hint = FindControl(kHintLayout)) hint->SetVisible(false);
    ResizeClient(m_pm.Scale(kWidth), m_pm.Scale(kHeight));
  } else if (name == "update_fw_and_ap") {
    if (auto* tabs = FindControlAs<ui::CTabLayoutUI>(kUpdateTabs)) tabs->SelectItem(1);
  } else if (name == "update_ok_btn") {
    if (work_) work_->QueueCheckedUpdates();
    if (ui::CControlUI* button = FindControl(kUpdateButton)) button->SetEnabled(false);
    if (auto* tabs = FindControlAs<ui::CTabLayoutUI>(kUpdateTabs)) tabs->SelectItem(0);
  }
  // "menubtn" and "homepage_btn" have nothing to do.
}

ui::LRESULT CSetWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) {
  handled = false;
  if (msg == RegisteredMessageId(RegisteredMessage::kSettingsRelayMessage)) {
    // An installer's report; the window then tries to close (it stays while an update is under way).
    if (work_) work_->HandleRelay(static_cast<std::int64_t>(wParam), static_cast<std::int64_t>(lParam));
    SendMessage(ui::WM_CLOSE);
    handled = true;
    return 0;
  }
  switch (msg) {
    case ui::WM_CLOSE:
    case ui::WM_SYSCOMMAND:
      if (msg == ui::WM_SYSCOMMAND && wParam != ui::SC_CLOSE) return 0;
      // Alt+F4, the system menu and the main window's close-all end this window only, and not while an
      // update is under way.
      handled = true;
      if (RefusesToClose()) {
        Trace("settings window: not closed while an update is under way");
        return 0;
      }
      StopUpdateWorkers();
      Close(0);
      return 0;
    case ui::WM_DPICHANGED:
      SetDPI(static_cast<int>(wParam & 0xFFFF));
      handled = true;
      return 0;
    case kLanguageChangedMessage:
      // The library re-texted the id-bearing controls; the composed status line is ours to redo.
      if (pageCode_ == update::kStatusLatest) SetUpdateStatus(pageCode_);
      if (QWidget* host = GetWidget()) host->update();
      handled = true;
      return 0;
    case kMsgUpdateItemAdded:
      OnItemAdded(static_cast<int>(wParam));
      handled = true;
      return 0;
    case kMsgUpdateItemChanged:
      OnItemChanged(static_cast<int>(wParam));
      handled = true;
      return 0;
    case kMsgUpdateStatus:
      SetUpdateStatus(static_cast<int>(wParam));
      handled = true;
      return 0;
    case kMsgInstallerNotStarted:
      ShowMessage(this, "", kUpdateFailedTextId, dpi_, true, kMessageOk);
      handled = true;
      return 0;
    default:
      break;
  }
  (void)lParam;
  return 0;
}

ui::LRESULT CSetWnd::HandleMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam) {
  const ui::LRESULT result = WindowImplBase::HandleMessage(msg, wParam, lParam);
  if (msg == ui::WM_SYSCOMMAND && wParam != ui::SC_CLOSE) SyncMaxRestoreButtons();
  return result;
}

void CSetWnd::SetDPI(int dpi) {
  if (dpi == dpi_) return;
  if (!ui::IsSupportedDpi(dpi)) {
    Trace("SET_WND DPI SET ERROR");
    dpi = ui::kDefaultDpi;
  }
  dpi_ = dpi;
  m_pm.SetDPI(dpi_);
}

int CSetWnd::Run(ui::CWindowWnd* parent, bool centred, Setup setup, const std::function<void(CSetWnd&)>& started) {
  const int dpi = setup.dpi;
  auto wnd = std::make_unique<CSetWnd>(std::move(setup));
  if (!wnd->Create(parent, "SetWnd", false, 0, 0, kWidth, kHeight)) return -1;
  wnd->SetDPI(dpi);
  QWidget* host = wnd->GetWidget();
  QWidget* parentHost = parent ? parent->GetWidget() : nullptr;
  if (centred || !parentHost || !parentHost->isVisible()) {
    wnd->CenterWindow();
  } else {
    // Beside the settings button: 30 scaled pixels in from the parent's right edge, 60 below its top.
    const double scale = wnd->GetPaintManager().GetScale();
    const QRect outer = parentHost->frameGeometry();
    const int right = outer.right() - static_cast<int>(30 * scale + 0.5);
    host->move(right - host->frameGeometry().width() + 1, outer.top() + static_cast<int>(60 * scale + 0.5));
  }
  if (started) started(*wnd);
  return wnd->ShowModal();
}

}  // namespace norvane::app
