#include "editors/key_set_control.h"

#include <QString>

#include "editors/page_controls.h"
#include "uilib/button.h"

namespace norvane::editors {

namespace {

constexpr const char* kLayoutName = "keyset_layout";
constexpr const char* kHintName = "keyset_hint_label";
constexpr const char* kTranslateName = "text_test";
constexpr std::array<const char*, 4> kButtonNames = {"key_butt_keydefalut", "key_butt_keysave",
                                                     "key_butt_keycancel", "key_butt_prosave"};
constexpr int kKeyboardKind = 1;
constexpr int kDpiKind = 4;
constexpr int kKeyboardKeyKind = 6;
constexpr int kGunKeyKind = 10;

int Selection(const ui::CComboUI* combo) {
  return combo ? combo->GetCurSel() : kNoSelection;
}

void Select(ui::CComboUI* combo, int item) {
  if (!combo) return;
  if (item < 0 || !combo->SelectItem(item, false, false)) combo->ClearSelection();
}

std::string TextOf(const ui::CEditUI* edit) {
  return edit ? edit->GetText().ToUtf8() : std::string();
}

void SetTextOf(ui::CEditUI* edit, const std::string& text) {
  if (edit && edit->GetText().ToUtf8() != text) edit->SetText(ui::CDuiString(text));
}

}  // namespace

CKeySetControlUI::CKeySetControlUI() = default;

void CKeySetControlUI::DoInit() {
  // Built on first use (the page's first refresh or a key opened), not with the page: the key tab is not
  // what the window shows first, and building it with the page would delay the window.
}

void CKeySetControlUI::showEvent(QShowEvent* event) {
  InitKeyEditor();
  ui::CVerticalLayoutUI::showEvent(event);
}

template <class T>
T* CKeySetControlUI::Find(const char* name) {
  return dynamic_cast<T*>(FindSubControl(name));
}

void CKeySetControlUI::InitKeyEditor() {
  if (built_) return;
  built_ = true;
  if (!FindSubControl(kLayoutName)) LoadSubSkin(kSkin);
  layout_ = FindSubControl(kLayoutName);
  hint_ = FindSubControl(kHintName);
  functionCombo_ = Find<ui::CComboUI>("keyset_function_combo");
  pages_ = Find<ui::CTabLayoutUI>("function_switch_tablayout");
  mouseButton_ = Find<ui::CComboUI>("keyset_mousekey_combo");
  pointerDirection_ = Find<ui::CComboUI>("keyset_mouseswing_combo");
  pointerCount_ = Find<ui::CEditUI>("keyset_mouseswing_num_edit");
  pointerDelay_ = Find<ui::CEditUI>("keyset_mouseswing_delay_edit");
  pointerSpeed_ = Find<ui::CEditUI>("keyset_mouseswing_speed_edit");
  wheelDirection_ = Find<ui::CComboUI>("keyset_mousewheel_combo");
  wheelCount_ = Find<ui::CEditUI>("keyset_mousewheel_num_edit");
  wheelDelay_ = Find<ui::CEditUI>("keyset_mousewheel_delay_edit");
  wheelSpeed_ = Find<ui::CEditUI>("keyset_mousewheel_speed_edit");
  dpi_ = Find<ui::CComboUI>("keyset_mousedpi_combo");
  fireInterval_ = Find<ui::CEditUI>("keyset_mousefire_interval_edit");
  fireCount_ = Find<ui::CEditUI>("keyset_mousefire_num_edit");
  keyText_ = Find<ui::CEditUI>(kKeyTextEditName);
  media_ = Find<ui::CComboUI>("keyset_media_combo");
  system_ = Find<ui::CComboUI>("keyset_system_combo");
  macro_ = Find<ui::CComboUI>("keyset_macro_combo");
  macroEnd_ = Find<ui::CComboUI>("keyset_macro_over_combo");
  cycleLayout_ = FindSubControl("keyset_macro_cycle_layout");
  cycleCount_ = Find<ui::CEditUI>("keyset_macro_cycle_edit");
  gunKey_ = Find<ui::CComboUI>("keyset_gunkey_combo");
  shortcut_ = Find<ui::CComboUI>("keyset_combokey_combo");
  for (std::size_t i = 0; i < modifiers_.size(); ++i) {
    modifiers_[i] = Find<ui::COptionUI>((QString(kModifierPrefix) + QString::number(i)).toUtf8().constData());
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i] = FindSubControl(kButtonNames[i]);
  // The key text only ever shows what key capture put there.
  if (keyText_) keyText_->SetReadOnly(true);
  if (cycleLayout_) cycleLayout_->SetVisible(false);
  ShowEditor(false);
  SetEditButtonsEnabled(false);
}

void CKeySetControlUI::SetEditorDeviceKind(int kind) {
  InitKeyEditor();
  deviceKind_ = kind;
  if (!functionCombo_) return;
  for (int i = 0; i < functionCombo_->GetCount(); ++i) {
    const QString data = functionCombo_->GetItemUserData(i);
    const bool keyboardLacks = data == QString::number(kDpiKind) || data == QString::number(kGunKeyKind);
    functionCombo_->SetItemVisible(i, !(kind == kKeyboardKind && keyboardLacks));
  }
}

void CKeySetControlUI::SetMacroNames(std::span<const std::string> names) {
  InitKeyEditor();
  if (!macro_) return;
  macro_->RemoveAll();
  for (const std::string& name : names) macro_->AddItem(ui::CDuiString(name));
  macro_->ClearSelection();
}

void CKeySetControlUI::AddMacroName(const std::string& name) {
  InitKeyEditor();
  if (macro_ && !name.empty()) macro_->AddItem(ui::CDuiString(name));
}

void CKeySetControlUI::RemoveMacroName(int index) {
  InitKeyEditor();
  if (macro_ && index >= 0) (void)macro_->RemoveAt(index);
}

void CKeySetControlUI::RenameMacroName(int index, const std::string& name) {
  InitKeyEditor();
  if (!macro_ || index < 0 || index >= macro_->GetCount() || name.empty()) return;
  macro_->setItemText(index, ui::CDuiString(name));
}

int CKeySetControlUI::MacroCount() const {
  return macro_ ? macro_->GetCount() : 0;
}

KeyFunctionFields CKeySetControlUI::FieldsFromControls() const {
  KeyFunctionFields fields;
  fields.kind = SelectedKind();
  fields.mouseButton = Selection(mouseButton_);
  fields.dpiStep = Selection(dpi_);
  fields.media = Selection(media_);
  fields.system = Selection(system_);
  fields.shortcut = Selection(shortcut_);
  fields.gunKey = Selection(gunKey_);
  fields.pointer = {Selection(pointerDirection_), TextOf(pointerCount_), TextOf(pointerDelay_), TextOf(pointerSpeed_)};
  fields.wheel = {Selection(wheelDirection_), TextOf(wheelCount_), TextOf(wheelDelay_), TextOf(wheelSpeed_)};
  fields.fireInterval = TextOf(fireInterval_);
  fields.fireCount = TextOf(fireCount_);
  fields.modifier = GetModifier();
  fields.keyNameKey = keyText_ && keyText_->GetText().isEmpty() ? std::string() : keyNameKey_;
  fields.macro = Selection(macro_);
  fields.macroEnd = Selection(macroEnd_);
  fields.cycleVisible = cycleLayout_ && cycleLayout_->IsVisible();
  fields.cycleCount = TextOf(cycleCount_);
  return fields;
}

void CKeySetControlUI::ControlsFromFields(const KeyFunctionFields& fields) {
  Select(mouseButton_, fields.mouseButton);
  Select(dpi_, fields.dpiStep);
  Select(media_, fields.media);
  Select(system_, fields.system);
  Select(shortcut_, fields.shortcut);
  Select(gunKey_, fields.gunKey);
  Select(pointerDirection_, fields.pointer.direction);
  SetTextOf(pointerCount_, fields.pointer.count);
  SetTextOf(pointerDelay_, fields.pointer.delay);
  SetTextOf(pointerSpeed_, fields.pointer.speed);
  Select(wheelDirection_, fields.wheel.direction);
  SetTextOf(wheelCount_, fields.wheel.count);
  SetTextOf(wheelDelay_, fields.wheel.delay);
  SetTextOf(wheelSpeed_, fields.wheel.speed);
  SetTextOf(fireInterval_, fields.fireInterval);
  SetTextOf(fireCount_, fields.fireCount);
  SelectModifier(fields.modifier);
  SetKeyText(fields.keyNameKey);
  Select(macro_, fields.macro);
  Select(macroEnd_, fields.macroEnd);
  if (cycleLayout_) cycleLayout_->SetVisible(fields.cycleVisible);
  SetTextOf(cycleCount_, fields.cycleCount);
}

void CKeySetControlUI::ShowFunction(const KeyFunction& function) {
  KeyFunctionFields fields = FieldsFromControls();
  const bool showingCurrent = function == stored_.current;
  const KeyFunction after = editors::ShowFunction(fields, function, stored_.default_function, MacroCount());
  if (showingCurrent) stored_.current = after;
  ControlsFromFields(fields);
  SelectKindPage(fields.kind);
}

void CKeySetControlUI::SelectKindPage(int kind) {
  const int item = functionCombo_ && kind >= 0 ? functionCombo_->FindItemByUserData(QString::number(kind)) : -1;
  // A function no kind shows (a profile edited by hand, a firmware function) keeps the panel open with no
  // kind chosen: the user can still give the key a function or its default back.
  ShowEditor(true);
  if (item < 0) {
    if (functionCombo_) functionCombo_->ClearSelection();
    return;
  }
  functionCombo_->SelectItem(item, false, false);
  if (pages_) pages_->SelectItem(kind);
}

void CKeySetControlUI::ShowKeyAssignment(const KeyAssignment& assignment) {
  InitKeyEditor();
  stored_ = assignment;
  hasKey_ = true;
  ShowFunction(stored_.current);
}

void CKeySetControlUI::ShowDefaultFunction() {
  if (hasKey_) ShowFunction(stored_.default_function);
}

void CKeySetControlUI::ShowCurrentFunction() {
  if (hasKey_) ShowFunction(stored_.current);
}

void CKeySetControlUI::SetCurrentFunction(const KeyFunction& function, int keyIndex) {
  stored_.current = function;
  stored_.key_index = static_cast<std::uint16_t>(keyIndex);
}

KeyAssignment CKeySetControlUI::ReadFunctionFromControls() {
  stored_.current = ReadFunction(FieldsFromControls(), stored_.current, stored_.default_function, MacroCount());
  return stored_;
}

void CKeySetControlUI::ShowEditor(bool show) {
  if (layout_) layout_->SetVisible(show);
  if (hint_) hint_->SetVisible(!show);
}

bool CKeySetControlUI::IsEditorShown() const {
  return layout_ && layout_->IsVisible();
}

void CKeySetControlUI::ResetParameterControls() {
  InitKeyEditor();
  KeyFunctionFields fields = FieldsFromControls();
  ResetParameterFields(fields);
  ControlsFromFields(fields);
}

void CKeySetControlUI::SetEditButtonsEnabled(bool enabled) {
  for (std::size_t i = 1; i < buttons_.size(); ++i) {
    if (buttons_[i]) buttons_[i]->SetEnabled(enabled);
  }
}

bool CKeySetControlUI::AreEditButtonsEnabled() const {
  return buttons_[1] && buttons_[1]->IsEnabled();
}

void CKeySetControlUI::SelectModifier(int choice) {
  for (std::size_t i = 0; i < modifiers_.size(); ++i) {
    if (modifiers_[i]) modifiers_[i]->Selected(static_cast<int>(i) == choice, false);
  }
}

int CKeySetControlUI::GetModifier() const {
  for (std::size_t i = 0; i < modifiers_.size(); ++i) {
    if (modifiers_[i] && modifiers_[i]->IsSelected()) return static_cast<int>(i);
  }
  return kNoSelection;
}

void CKeySetControlUI::SetKeyText(const std::string& nameKey) {
  keyNameKey_ = nameKey;
  if (!keyText_) return;
  if (nameKey.empty()) {
    keyText_->SetText({});
    return;
  }
  // The hidden label translates the name key the way every skin text is translated.
  if (auto* translate = Find<ui::CLabelUI>(kTranslateName)) {
    translate->SetResourceText(true);
    translate->SetText(ui::CDuiString(nameKey));
    keyText_->SetText(translate->GetText());
  } else {
    keyText_->SetText(LocalizedText(ui::CDuiString(nameKey)));
  }
}

int CKeySetControlUI::SelectedKind() const {
  if (!functionCombo_ || functionCombo_->GetCurSel() < 0) return kNoSelection;
  bool ok = false;
  const int kind = functionCombo_->GetItemUserData(functionCombo_->GetCurSel()).toInt(&ok);
  return ok && kind >= 0 && kind < kFunctionKinds ? kind : kNoSelection;
}

void CKeySetControlUI::OnFunctionKindChosen() {
  const int kind = SelectedKind();
  if (kind < 0) return;
  if (pages_) pages_->SelectItem(kind);
  if (kind == kKeyboardKeyKind) {
    SetKeyText({});
    SelectModifier(kNoSelection);
  }
}

void CKeySetControlUI::OnMacroEndChosen() {
  if (cycleLayout_) cycleLayout_->SetVisible(Selection(macroEnd_) == kMacroEndCycleItem);
}

bool CKeySetControlUI::CaptureKey(macro::ScanCode scan) {
  KeyFunctionFields fields = FieldsFromControls();
  KeyFunction current = stored_.current;
  if (!editors::CaptureKey(fields, current, scan, stored_.default_function, MacroCount())) return false;
  stored_.current = current;
  SelectModifier(fields.modifier);
  SetKeyText(fields.keyNameKey);
  return true;
}

void CKeySetControlUI::OnLanguageChanged() {
  SetKeyText(keyNameKey_);
}

}  // namespace norvane::editors
