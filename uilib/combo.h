#pragma once
// CComboUI: a drop-down list. Items may carry a language text id (re-texted on a language switch) and user
// data. A user choice raises "itemselect" (wParam new index, lParam old index); SelectItem raises it only
// when asked to.

#include <QComboBox>

#include "uilib/control.h"

namespace norvane::ui {

class CComboUI : public ControlBase<QComboBox> {
 public:
  explicit CComboUI(QWidget* parent = nullptr);

  int GetCount() const { return count(); }
  int GetCurSel() const { return currentIndex(); }
  // False for an index outside the items (the selection is then unchanged).
  bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true);
  // No item selected (the box shows nothing); raises nothing.
  void ClearSelection();
  // The first item whose user data is `userData`; -1 when none.
  int FindItemByUserData(const CDuiString& userData) const;
  void SetItemUserData(int index, const CDuiString& userData);
  // A hidden item stays in the list (indexes keep their meaning) but cannot be seen or chosen.
  void SetItemVisible(int index, bool visible);
  bool IsItemVisible(int index) const;
  // Appends an item; with isTextId the text is a language id. Returns its index.
  int AddItem(const CDuiString& text, bool isTextId = false, const CDuiString& userData = {});
  bool RemoveAt(int index);
  void RemoveAll();
  CDuiString GetItemText(int index) const;
  CDuiString GetItemUserData(int index) const;

  CDuiString GetText() const override { return currentText(); }
  void SetText(const CDuiString& text) override;

  // Re-resolves the items that carry text ids (called on a language switch).
  void ReloadItemTexts();

 private:
  int currentIndex_ = -1;
  int previousIndex_ = -1;
  bool changed_ = false;  // the index changed since the last user activation
};

}  // namespace norvane::ui
