#include "app/macro_editor.h"

#include <QCursor>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "controls/device_profile.h"
#include "controls/pages/device_page.h"
#include "devices/device_capabilities.h"
#include "editors/key_assignment_editor.h"
#include "editors/key_set_control.h"
#include "editors/macro_control.h"
#include "editors/page_controls.h"
#include "platform/trace.h"
#include "profiles/macro_references.h"

namespace norvane::app {

namespace {

using editors::CMacroControlUI;
using editors::RouteAction;

std::filesystem::path PathOf(const ui::CDuiString& text) {
  return std::filesystem::path(text.toStdU16String());
}

// The device re-reads its macro list, the key labels and the page (the key editor's macro names follow).
void RefreshDevice(controls::CDevicePageUI& page) {
  if (devices::CNorvaneUSBDevice* device = page.Device()) device->RefreshPage();
}

}  // namespace

CMacroEditor::CMacroEditor(std::function<UserPrompts&()> prompts, std::function<ui::WindowHandle()> menuOwner)
    : prompts_(std::move(prompts)), menuOwner_(std::move(menuOwner)) {}

CMacroEditor::~CMacroEditor() = default;

CMacroControlUI* CMacroEditor::PanelOf(controls::CDevicePageUI& page) {
  return editors::FindInPageAs<CMacroControlUI>(page, CMacroControlUI::kItemName);
}

void CMacroEditor::Post(controls::CDevicePageUI& page, std::function<void(controls::CDevicePageUI&)> action) {
  QPointer<controls::CDevicePageUI> target = &page;
  QTimer::singleShot(0, page.GetWidget(), [target, action = std::move(action)] {
    if (target) action(*target);
  });
}

void CMacroEditor::OnRoute(const editors::RoutedNotify& notify) {
  if (notify.action == RouteAction::kMacroActionMenu) {
    // A step of the shown page only: the rows of a page in the background are no one's to edit.
    controls::CDevicePageUI* page = notify.msg ? editors::PageOfControl(notify.msg->pSender) : nullptr;
    if (page && page == notify.page && PanelOf(*page)) {
      Post(*page, [this](controls::CDevicePageUI& p) { OpenRowMenu(p); });
    }
    return;
  }
  if (!notify.page) return;
  controls::CDevicePageUI& page = *notify.page;
  CMacroControlUI* panel = PanelOf(page);
  if (!panel) return;
  switch (notify.action) {
    case RouteAction::kMacroAdd:
      Post(page, [this](controls::CDevicePageUI& p) { Add(p); });
      break;
    case RouteAction::kMacroDelete:
      Post(page, [this](controls::CDevicePageUI& p) { Delete(p); });
      break;
    case RouteAction::kMacroRename:
      Post(page, [this](controls::CDevicePageUI& p) { Rename(p); });
      break;
    case RouteAction::kMacroImport:
      Post(page, [this](controls::CDevicePageUI& p) { Import(p); });
      break;
    case RouteAction::kMacroExport:
      Post(page, [this](controls::CDevicePageUI& p) { Export(p); });
      break;
    case RouteAction::kMacroSave:
      if (!panel->SaveMacro() && panel->GetSelectedMacroIndex() >= 0) Trace("macro editor: the macro was not saved");
      break;
    case RouteAction::kMacroCancel:
    case RouteAction::kMacroChosen:
      panel->ShowMacro();
      break;
    case RouteAction::kMacroStepUp:
      panel->MoveRowUp();
      break;
    case RouteAction::kMacroStepDown:
      panel->MoveRowDown();
      break;
    case RouteAction::kMacroStepTop:
      panel->MoveRowToTop();
      break;
    case RouteAction::kMacroStepBottom:
      panel->MoveRowToBottom();
      break;
    case RouteAction::kMacroStepDelete:
      panel->DeleteRow();
      break;
    case RouteAction::kMacroStepDeleteAll:
      panel->DeleteAllRows();
      break;
    case RouteAction::kMacroInsertMove:
      panel->InsertMouseAction(CMacroControlUI::kMoveMessage, notify.number);
      break;
    case RouteAction::kMacroDelayDone:
      // The edit loses its focus also while its row is being rebuilt or removed: save once that is over.
      Post(page, [](controls::CDevicePageUI& p) {
        if (CMacroControlUI* shown = PanelOf(p)) (void)shown->SaveMacro();
      });
      break;
    default:
      break;
  }
}

void CMacroEditor::OpenRowMenu(controls::CDevicePageUI& page) {
  // One menu at a time: a new one replaces the one still open.
  rowMenu_ = std::make_unique<ui::CMenuWnd>();
  menuPage_ = &page;
  if (!rowMenu_->Init(menuOwner_ ? menuOwner_() : ui::WindowHandle(), kRowMenu, QCursor::pos()))
    Trace("macro editor: the step menu cannot be shown");
}

void CMacroEditor::OnMenuItem(const ui::MenuCmd& command) {
  // Items arrive after the menu's own signal has returned (the window posts them).
  if (!menuPage_) return;
  CMacroControlUI* panel = PanelOf(*menuPage_);
  if (panel) (void)panel->InsertMenuAction(command.szName.toStdString());
}

void CMacroEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  CMacroControlUI* panel = PanelOf(page);
  if (!panel || !page.Device()) return;
  panel->SetMacroFolder(page.Device()->UserProfileFolder());
  panel->LoadMacroList();
}

void CMacroEditor::Add(controls::CDevicePageUI& page) {
  CMacroControlUI* panel = PanelOf(page);
  if (!panel || !prompts_().Confirm(kAddQuestion)) return;
  const std::string name = panel->AddMacro();
  if (name.empty()) {
    prompts_().Tell(kListFull);
    return;
  }
  if (editors::CKeySetControlUI* keys = editors::CKeyAssignmentEditor::PanelOf(page)) keys->AddMacroName(name);
  RefreshDevice(page);
}

void CMacroEditor::Rename(controls::CDevicePageUI& page) {
  CMacroControlUI* panel = PanelOf(page);
  if (!panel) return;
  const CMacroControlUI::Renamed renamed = panel->RenameMacro();
  if (renamed.index < 0) return;
  if (!renamed.result.renamed()) {
    const std::string_view message = renamed.result.MessageId();
    prompts_().Tell(message.empty() ? ui::CDuiString(kRenameFailed) : ui::CDuiString(std::string(message)));
    return;
  }
  if (editors::CKeySetControlUI* keys = editors::CKeyAssignmentEditor::PanelOf(page)) {
    keys->RenameMacroName(renamed.index, renamed.name);
  }
  RefreshDevice(page);
}

void CMacroEditor::Delete(controls::CDevicePageUI& page) {
  CMacroControlUI* panel = PanelOf(page);
  controls::CDeviceProfileUI* bar = page.ProfileBar();
  devices::CNorvaneUSBDevice* device = page.Device();
  if (!panel || !bar || !device || !prompts_().Confirm(kDeleteQuestion)) return;
  const int index = panel->GetSelectedMacroIndex();
  if (index < 0) return;
  // Nothing is written before every question is answered: a Cancel leaves all profiles and the macro.
  const MacroRemovalPlan plan = PlanMacroRemoval(bar->List(), index);
  if (plan.currentUsesMacro && !prompts_().Confirm(kInUseQuestion)) return;
  const std::filesystem::path current = bar->List().GetCurrentProfilePath();
  const bool currentChanged = std::any_of(plan.changed.begin(), plan.changed.end(),
                                          [&](const ProfileRewrite& rewrite) { return rewrite.path == current; });
  if (!CommitMacroRemoval(plan, [panel] { return panel->DeleteMacro() >= 0; })) {
    prompts_().Tell(kDeleteFailed);
    return;
  }
  if (editors::CKeySetControlUI* keys = editors::CKeyAssignmentEditor::PanelOf(page)) keys->RemoveMacroName(index);
  // The profile on disk is renumbered; the device takes it (and its macro list) from there.
  device->LoadProfile();
  device->RefreshPage();
  if (!currentChanged) return;
  if (devices::KeyTableOps* keyTable = device->KeyTable()) {
    if (keyTable->CommitKeyAssignments() != 1) Trace("macro editor: the renumbered keys were not all written");
  }
}

void CMacroEditor::Import(controls::CDevicePageUI& page) {
  CMacroControlUI* panel = PanelOf(page);
  if (!panel) return;
  if (panel->MacroCount() >= static_cast<int>(macro::kMaxMacros)) {
    prompts_().Tell(kListFull);
    return;
  }
  const std::optional<ui::CDuiString> path = prompts_().OpenFile(kFileFilter);
  if (!path || path->isEmpty()) return;
  // The dialog ran its own loop: the page may have lost its panel meanwhile.
  panel = PanelOf(page);
  if (!panel) return;
  const std::string name = panel->ImportMacro(PathOf(*path));
  if (name.empty()) {
    prompts_().Tell(kImportFailed);
    return;
  }
  if (editors::CKeySetControlUI* keys = editors::CKeyAssignmentEditor::PanelOf(page)) keys->AddMacroName(name);
  RefreshDevice(page);
}

void CMacroEditor::Export(controls::CDevicePageUI& page) {
  CMacroControlUI* panel = PanelOf(page);
  if (!panel || panel->GetSelectedMacroIndex() < 0) return;
  const std::optional<ui::CDuiString> path = prompts_().SaveFile(kFileFilter);
  if (!path || path->isEmpty()) return;
  panel = PanelOf(page);
  if (panel && !panel->ExportMacro(PathOf(*path))) prompts_().Tell(kExportFailed);
}

}  // namespace norvane::app
