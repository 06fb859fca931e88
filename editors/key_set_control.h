#pragma once
// CKeySetControlUI (skin class "KeySetControl"; device pages hold it as "KeySetControlItem"): the key
// assignment editor's panel. It shows the function of the key selected on the device picture in one page per
// function kind, lets the user change it, and gives the function back; what to do with it (store, write to
// the device) is the key assignment editor's. The panel builds its content from the sub-skin
// "XML\CustomControlXML\KeySetControl.xml"; every control is looked up once, inside the panel.
//
// The function combo's items carry their kind as user data (decimal text), so the skin decides the items'
// texts and order; the other combos' items follow the key tables' orders.

#include <QShowEvent>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "editors/key_function_fields.h"
#include "macro/scan_codes.h"
#include "profiles/profile_records.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/tab_layout.h"

namespace norvane::editors {

class CKeySetControlUI : public ui::CVerticalLayoutUI {
 public:
  static constexpr const char* kClassName = "KeySetControl";
  static constexpr const char* kItemName = "KeySetControlItem";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\KeySetControl.xml";
  static constexpr const char* kKeyTextEditName = "keyset_keyboard_text_edit";
  static constexpr const char* kModifierPrefix = "key_ComBox_check_";

  CKeySetControlUI();

  void DoInit() override;
  // Builds the panel (once) and looks its controls up; every operation does this first.
  void InitKeyEditor();
  // The owning device's kind; a keyboard (1) offers neither DPI steps nor gun keys.
  void SetEditorDeviceKind(int kind);
  int EditorDeviceKind() const { return deviceKind_; }

  // The macro combo follows the device's macro list; indexes are macro numbers.
  void SetMacroNames(std::span<const std::string> names);
  void AddMacroName(const std::string& name);
  void RemoveMacroName(int index);
  void RenameMacroName(int index, const std::string& name);
  int MacroCount() const;

  void ShowKeyAssignment(const KeyAssignment& assignment);
  void ShowDefaultFunction();
  void ShowCurrentFunction();
  void SetCurrentFunction(const KeyFunction& function, int keyIndex);
  // Builds the function from the controls, keeps it as the current one and returns current and default.
  KeyAssignment ReadFunctionFromControls();
  const KeyAssignment& StoredAssignment() const { return stored_; }
  bool HasKey() const { return hasKey_; }

  void ShowEditor(bool show);
  bool IsEditorShown() const;
  void ResetParameterControls();
  void SetEditButtonsEnabled(bool enabled);
  bool AreEditButtonsEnabled() const;
  // Modifier choice 0 none, 1 Ctrl, 2 Shift, 3 Alt, 4 Win; -1 none selected.
  void SelectModifier(int choice);
  int GetModifier() const;
  // Shows the localized name of a key's name key in the key text.
  void SetKeyText(const std::string& nameKey);
  const std::string& KeyTextNameKey() const { return keyNameKey_; }

  // The user chose a kind in the function combo: its page shows; the keyboard-key kind starts empty.
  void OnFunctionKindChosen();
  // The user chose an end mode: the cycle field shows for the cycle item only.
  void OnMacroEndChosen();
  // A key pressed while the key text has the focus; false when it is not one the tables know.
  [[nodiscard]] bool CaptureKey(macro::ScanCode scan);
  // Texts the panel composed itself (the key text) follow a language switch.
  void OnLanguageChanged();

  ui::CEditUI* KeyTextEdit() const { return keyText_; }
  // The kind the function combo has selected; -1 for none.
  int SelectedKind() const;

 protected:
  // Shown before anything used it (a page whose device never synchronised): built now.
  void showEvent(QShowEvent* event) override;

 private:
  KeyFunctionFields FieldsFromControls() const;
  void ControlsFromFields(const KeyFunctionFields& fields);
  void ShowFunction(const KeyFunction& function);
  void SelectKindPage(int kind);

  template <class T>
  T* Find(const char* name);

  bool built_ = false;
  int deviceKind_ = 0;
  KeyAssignment stored_;
  bool hasKey_ = false;
  std::string keyNameKey_;

  // The panel's own children, found once; Qt owns them and they live as long as the panel.
  ui::CControlUI* layout_ = nullptr;
  ui::CControlUI* hint_ = nullptr;
  ui::CComboUI* functionCombo_ = nullptr;
  ui::CTabLayoutUI* pages_ = nullptr;
  ui::CComboUI *mouseButton_ = nullptr, *pointerDirection_ = nullptr, *wheelDirection_ = nullptr, *dpi_ = nullptr,
               *media_ = nullptr, *system_ = nullptr, *macro_ = nullptr, *macroEnd_ = nullptr, *gunKey_ = nullptr,
               *shortcut_ = nullptr;
  ui::CEditUI *pointerCount_ = nullptr, *pointerDelay_ = nullptr, *pointerSpeed_ = nullptr, *wheelCount_ = nullptr,
              *wheelDelay_ = nullptr, *wheelSpeed_ = nullptr, *fireInterval_ = nullptr, *fireCount_ = nullptr,
              *cycleCount_ = nullptr, *keyText_ = nullptr;
  ui::CControlUI* cycleLayout_ = nullptr;
  std::array<ui::COptionUI*, 5> modifiers_{};
  std::array<ui::CControlUI*, 4> buttons_{};  // default, apply, cancel, write
};

}  // namespace norvane::editors
