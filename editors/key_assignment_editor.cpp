#include "editors/key_assignment_editor.h"

#include <algorithm>

#include "controls/pages/device_page.h"
#include "devices/device_capabilities.h"
#include "devices/device_kinds.h"
#include "devices/key_assignment_rules.h"
#include "editors/in_window_key_capture.h"
#include "editors/key_set_control.h"
#include "editors/page_controls.h"
#include "macro/scan_codes.h"
#include "platform/trace.h"

namespace norvane::editors {

namespace {

constexpr std::uint16_t kKeyboardPage = 1;
constexpr std::uint16_t kMousePage = 2;

devices::KeyTableOps* KeysOf(controls::CDevicePageUI& page) {
  return page.Device() ? page.Device()->KeyTable() : nullptr;
}

std::string_view SenderName(const RoutedNotify& notify, std::string& storage) {
  storage = notify.msg && notify.msg->pSender ? notify.msg->pSender->GetName().ToUtf8() : std::string();
  return storage;
}

}  // namespace

CKeyAssignmentEditor::CKeyAssignmentEditor()
    : captureFactory_([](CKeySetControlUI& panel) -> std::unique_ptr<macro::InputCapture> {
        if (!panel.KeyTextEdit()) return nullptr;
        return std::make_unique<CInWindowKeyCapture>(panel.KeyTextEdit());
      }) {}

CKeyAssignmentEditor::~CKeyAssignmentEditor() {
  StopCapture();
}

CKeySetControlUI* CKeyAssignmentEditor::PanelOf(controls::CDevicePageUI& page) {
  return FindInPageAs<CKeySetControlUI>(page, CKeySetControlUI::kItemName);
}

void CKeyAssignmentEditor::OnRoute(const RoutedNotify& notify) {
  if (!notify.page) return;
  controls::CDevicePageUI& page = *notify.page;
  CKeySetControlUI* panel = PanelOf(page);
  std::string name;
  switch (notify.action) {
    case RouteAction::kKeyClicked:
      OpenKey(page, notify.number, notify.pageKind);
      return;
    case RouteAction::kCaptureOn:
      StartCapture(page);
      return;
    case RouteAction::kCaptureOff:
      StopCapture();
      return;
    default:
      break;
  }
  if (!panel || !panel->HasKey()) return;
  switch (notify.action) {
    case RouteAction::kApplyKey:
      Apply(page);
      break;
    case RouteAction::kKeyFunctionChosen:
      if (SenderName(notify, name) == "keyset_macro_over_combo") {
        panel->OnMacroEndChosen();
      } else {
        panel->OnFunctionKindChosen();
      }
      break;
    case RouteAction::kKeyFunctionGroup:
      // Each option whose state changed reports; only the newly chosen one counts.
      if (notify.msg && notify.msg->wParam == 0) return;
      panel->SelectModifier(notify.number);
      Apply(page);
      break;
    case RouteAction::kRestoreDefaultKey:
      panel->ShowDefaultFunction();
      if (notify.pageKind == kKeyboardPage) {
        Apply(page);
        Commit(page);
      } else {
        panel->SetEditButtonsEnabled(true);
      }
      break;
    case RouteAction::kCancelKey:
      panel->ShowCurrentFunction();
      panel->SetEditButtonsEnabled(false);
      break;
    case RouteAction::kCommitKeys:
      Commit(page);
      break;
    default:
      break;
  }
}

void CKeyAssignmentEditor::OpenKey(controls::CDevicePageUI& page, int key, std::uint16_t pageKind) {
  devices::CNorvaneUSBDevice* device = page.Device();
  devices::KeyTableOps* keys = KeysOf(page);
  CKeySetControlUI* panel = PanelOf(page);
  // On the lighting tab a key click belongs to the lighting; elsewhere it selects nothing.
  if (!device || !keys || !panel || device->GetFunctionTab() != kKeyTab) return;
  const std::span<const KeyAssignment> list = keys->KeyAssignments();
  if (key < 0 || static_cast<std::size_t>(key) >= list.size()) return;
  if (pageKind == kMousePage && devices::IsLastLeftButton(list, static_cast<std::size_t>(key))) {
    page.ShowMessage({kLeftButtonOnlyMessage, std::nullopt});
    return;
  }
  StopCapture();
  device->SelectKey(key);
  panel->ShowKeyAssignment(list[static_cast<std::size_t>(key)]);
  panel->SetEditButtonsEnabled(false);
  for (int i = 0; i < page.KeyButtonCount(); ++i) page.SelectKeyButton(i, i == key);
}

void CKeyAssignmentEditor::Apply(controls::CDevicePageUI& page) {
  devices::KeyTableOps* keys = KeysOf(page);
  CKeySetControlUI* panel = PanelOf(page);
  if (!keys || !panel || !panel->HasKey()) return;
  keys->SetSelectedKeyAssignment(panel->ReadFunctionFromControls());
  keys->RefreshKeyLabels();
  panel->SetEditButtonsEnabled(true);
}

void CKeyAssignmentEditor::Commit(controls::CDevicePageUI& page) {
  devices::KeyTableOps* keys = KeysOf(page);
  if (!keys) return;
  // The device tells the user what could not be written; the profile keeps the assignments either way.
  const int result = keys->CommitKeyAssignments();
  if (result != 1) Trace("key editor: the key assignments were not all written (" + std::to_string(result) + ")");
  keys->RefreshKeyLabels();
  if (CKeySetControlUI* panel = PanelOf(page)) panel->SetEditButtonsEnabled(false);
}

void CKeyAssignmentEditor::OnPageRefreshed(controls::CDevicePageUI& page) {
  CKeySetControlUI* panel = PanelOf(page);
  if (!panel) return;
  if (page.Device()) panel->SetEditorDeviceKind(devices::PageKindCode(page.Device()->KindCode()));
  if (page.Device() && page.Device()->Macros()) panel->SetMacroNames(page.Device()->Macros()->MacroNames());
  // A refresh may have loaded another profile: the open key shows what that profile gives it.
  devices::KeyTableOps* keys = KeysOf(page);
  const int key = page.Device() ? page.Device()->SelectedKey() : -1;
  if (keys && panel->HasKey() && key >= 0 && static_cast<std::size_t>(key) < keys->KeyAssignments().size()) {
    panel->ShowKeyAssignment(keys->KeyAssignments()[static_cast<std::size_t>(key)]);
  } else {
    panel->ShowEditor(false);
  }
}

void CKeyAssignmentEditor::OnLanguageChanged() {
  if (auto* page = dynamic_cast<controls::CDevicePageUI*>(capturePage_.data())) {
    if (CKeySetControlUI* panel = PanelOf(*page)) panel->OnLanguageChanged();
  }
}

void CKeyAssignmentEditor::StartCapture(controls::CDevicePageUI& page) {
  StopCapture();
  CKeySetControlUI* panel = PanelOf(page);
  if (!panel || !panel->HasKey()) return;
  capture_ = captureFactory_ ? captureFactory_(*panel) : nullptr;
  if (!capture_) return;
  capturePage_ = &page;
  if (!capture_->Start([this](const macro::CapturedKey& key) { OnCapturedKey(key); })) {
    Trace("key editor: keys cannot be captured here");
    capture_.reset();
  }
}

void CKeyAssignmentEditor::StopCapture() {
  if (capture_) capture_->Stop();
  capture_.reset();
}

void CKeyAssignmentEditor::OnCapturedKey(const macro::CapturedKey& key) {
  if (!key.pressed || key.autoRepeat) return;
  auto* page = dynamic_cast<controls::CDevicePageUI*>(capturePage_.data());
  if (!page) return;
  CKeySetControlUI* panel = PanelOf(*page);
  const std::optional<macro::ScanCode> scan = macro::ScanCodeOfLinuxKey(key.linuxKey);
  if (!panel || !scan) return;
  if (panel->CaptureKey(*scan)) Apply(*page);
}

}  // namespace norvane::editors
