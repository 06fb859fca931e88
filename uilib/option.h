#pragma once
// Options: buttons with a selected state. Options that share a group name (dynamic property "group" in the
// skin, or SetGroup) are exclusive within their window: selecting one unselects the others, and a click on
// the selected one keeps it selected. Without a group an option toggles.
//
// Notifications: a user click raises "click" and "selectchanged" (wParam 1 when now selected, 0 when not)
// for each option whose state changed; a check box also raises "checkclick" (wParam: checked). Selected()
// raises "selectchanged" only when asked to.

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "uilib/control.h"

namespace norvane::ui {

// A widget with this dynamic property set to true bounds the option groups inside it: a group's options
// in one such widget never unselect those of another (a device page's function tabs are its own).
inline constexpr const char* kOptionScopeProperty = "optionscope";
// The widget an option's group is exclusive in: the nearest ancestor marked as a scope, else the window.
QWidget* OptionScope(QWidget* widget);

class COptionUI : public CControlUI {
 public:
  bool IsSelected() const;
  void Selected(bool selected, bool triggerEvent = true);
  CDuiString GetGroup() const;
  void SetGroup(const CDuiString& group);
  // Background colour while selected (0: as the theme draws it).
  void SetSelectedBkColor(DWORD argb);
  DWORD GetSelectedBkColor() const { return selectedBkColor_; }

 protected:
  QAbstractButton* Button();
  const QAbstractButton* Button() const;
  // Connects the button's signals to the notifications; called by each concrete option's constructor.
  void ConnectOption();
  QString ExtraStyle(const QString& selector) const override;
  // A selected option of a group stays selected when clicked (the concrete classes ask before toggling).
  bool KeepsSelectionOnClick() const { return IsSelected() && !GetGroup().isEmpty(); }

 private:
  void OnUserClicked();
  void UnselectGroupMates(bool triggerEvent);
  DWORD selectedBkColor_ = 0;
};

// An option drawn as a push button (tabs, swatches, device tabs).
class COptionButtonUI : public ControlBase<QPushButton, COptionUI> {
 public:
  explicit COptionButtonUI(QWidget* parent = nullptr);

 protected:
  void nextCheckState() override {
    if (!KeepsSelectionOnClick()) QPushButton::nextCheckState();
  }
};

class CRadioOptionUI : public ControlBase<QRadioButton, COptionUI> {
 public:
  explicit CRadioOptionUI(QWidget* parent = nullptr);

 protected:
  void nextCheckState() override {
    if (!KeepsSelectionOnClick()) QRadioButton::nextCheckState();
  }
};

class CCheckBoxUI : public ControlBase<QCheckBox, COptionUI> {
 public:
  explicit CCheckBoxUI(QWidget* parent = nullptr);

 protected:
  void nextCheckState() override {
    if (!KeepsSelectionOnClick()) QCheckBox::nextCheckState();
  }
};

}  // namespace norvane::ui
