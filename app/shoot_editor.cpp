#include "app/shoot_editor.h"

#include <QPointer>
#include <QTimer>

#include "controls/pages/device_page.h"
#include "devices/mouse/mouse_device.h"
#include "editors/page_controls.h"
#include "editors/shoot_control.h"
#include "platform/trace.h"
#include "platform/xdg_paths.h"
#include "uilib/option.h"

namespace norvane::app {

namespace {

using editors::CShootControlUI;
using editors::RouteAction;
using FileOutcome = CShootControlUI::FileOutcome;

bool IsSelected(const editors::RoutedNotify& notify) {
  auto* option = dynamic_cast<ui::COptionUI*>(notify.msg ? notify.msg->pSender : nullptr);
  return option && option->IsSelected();
}

std::filesystem::path PathOf(const ui::CDuiString& text) {
  return std::filesystem::path(text.toStdU16String());
}

}  // namespace

CShootEditor::CShootEditor(std::function<UserPrompts&()> prompts) : prompts_(std::move(prompts)) {}

CShootControlUI* CShootEditor::PanelOf(controls::CDevicePageUI& page) {
  return editors::FindInPageAs<CShootControlUI>(page, CShootControlUI::kItemName);
}

void CShootEditor::Post(controls::CDevicePageUI& page, std::function<void(controls::CDevicePageUI&)> action) {
  QPointer<controls::CDevicePageUI> target = &page;
  QTimer::singleShot(0, page.GetWidget(), [target, action = std::move(action)] {
    if (target) action(*target);
  });
}

void CShootEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  CShootControlUI* panel = PanelOf(page);
  devices::CNorvaneUSBDevice* device = page.Device();
  if (!panel || !device) return;
  // The panel takes the mouse's folder once; later refreshes leave the gun and bullet the user chose.
  const std::filesystem::path folder = device->UserProfileFolder();
  if (folder.empty() || panel->ShootFolder() == folder) return;
  panel->SetShootFolder(folder);
  panel->SetDefaultShootFolder(DefaultDataFolder());
  panel->InitShootPage();
  panel->SelectGun(0);
  panel->SelectBullet(0);
}

void CShootEditor::OnRoute(const editors::RoutedNotify& notify) {
  if (!notify.page) return;
  controls::CDevicePageUI& page = *notify.page;
  CShootControlUI* panel = PanelOf(page);
  if (!panel || panel->ShootFolder().empty()) return;
  switch (notify.action) {
    case RouteAction::kGunChosen:
      // Only the option that became selected chooses; its group mates report their unselection too.
      if (!IsSelected(notify)) return;
      panel->SelectGun(notify.number);
      panel->ShowBullet();
      return;
    case RouteAction::kBulletChosen:
      if (IsSelected(notify)) panel->SelectBullet(notify.number);
      return;
    case RouteAction::kBulletPrevious:
      panel->PreviousBullet();
      return;
    case RouteAction::kBulletNext:
      panel->NextBullet();
      return;
    case RouteAction::kBulletAxis:
      if (notify.number == 0) {
        panel->ShowXDirection();
      } else {
        panel->ShowYDirection();
      }
      return;
    case RouteAction::kBulletValue:
      if (!panel->SaveBullet()) prompts_().Tell(kFileNotWritten);
      return;
    case RouteAction::kShootReset:
      TellFileOutcome(panel->ResetGun(panel->CurrentGun()));
      return;
    case RouteAction::kShootSave:
      Post(page, [this](controls::CDevicePageUI& p) { Send(p); });
      return;
    case RouteAction::kShootImport:
      Post(page, [this](controls::CDevicePageUI& p) { Import(p); });
      return;
    case RouteAction::kShootExport:
      Post(page, [this](controls::CDevicePageUI& p) { Export(p); });
      return;
    default:
      return;
  }
}

void CShootEditor::Send(controls::CDevicePageUI& page) {
  auto* mouse = dynamic_cast<devices::CNorvaneMouseDevice*>(page.Device());
  if (!mouse) return;
  const int result = mouse->WriteShootData();
  if (result == protocol::kResultOk) return;
  Trace("recoil editor: the recoil patterns were not written (" + std::to_string(result) + ")");
  prompts_().Tell(result == devices::CNorvaneMouseDevice::kShootTooLarge ? kTooLarge : kWriteFailed);
}

void CShootEditor::Import(controls::CDevicePageUI& page) {
  const std::optional<ui::CDuiString> path = prompts_().OpenFile(kFileFilter);
  if (!path || path->isEmpty()) return;
  // The dialog ran its own loop: the page may have lost its panel meanwhile.
  if (CShootControlUI* panel = PanelOf(page)) TellFileOutcome(panel->ImportGunFile(PathOf(*path)));
}

void CShootEditor::Export(controls::CDevicePageUI& page) {
  const std::optional<ui::CDuiString> path = prompts_().SaveFile(kFileFilter);
  if (!path || path->isEmpty()) return;
  std::filesystem::path target = PathOf(*path);
  // A name typed without an extension gets the gun files' own.
  if (!target.has_extension()) target += kFileExtension;
  if (CShootControlUI* panel = PanelOf(page)) TellFileOutcome(panel->ExportGunFile(target));
}

void CShootEditor::TellFileOutcome(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kSourceUnusable:
      prompts_().Tell(kSourceUnusable);
      return;
    case FileOutcome::kWriteFailed:
      prompts_().Tell(kFileNotWritten);
      return;
    case FileOutcome::kDone:
    case FileOutcome::kNothing:
      return;
  }
}

}  // namespace norvane::app
