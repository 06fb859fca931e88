#pragma once
// CListUI: a list of text rows or of controls. A user selection raises "itemselect" (wParam new index,
// lParam old), a click "itemclick" (wParam index), a double click or Enter "itemactivate" (wParam index).
// SelectItem raises "itemselect" only when asked to.

#include <QListWidget>

#include "uilib/control.h"

namespace norvane::ui {

class CListUI : public ControlBase<QListWidget> {
 public:
  explicit CListUI(QWidget* parent = nullptr);

  int GetCount() const { return count(); }
  int GetCurSel() const { return currentRow(); }
  bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true);
  int AddItem(const CDuiString& text, bool isTextId = false, const CDuiString& userData = {});
  // Adds a row that shows `control` (the list takes ownership). Returns its index.
  int AddControl(CControlUI* control);
  // The same at row index (clamped to the rows there are). Returns its index.
  int InsertControl(int index, CControlUI* control);
  // A new row without text or control at index (clamped to the rows there are), for rows whose content
  // the owner keeps in the item and draws when it comes into view. Raises nothing. Returns its index.
  int InsertEmptyItem(int index);
  // No row selected; raises nothing.
  void ClearSelection();
  void SetItemText(int index, const CDuiString& text);
  void SetItemUserData(int index, const CDuiString& data);
  CControlUI* GetItemControl(int index) const;
  CDuiString GetItemText(int index) const;
  CDuiString GetItemUserData(int index) const;
  bool RemoveAt(int index);
  void RemoveAll();

  void ReloadItemTexts();

 protected:
  bool event(QEvent* e) override;

 private:
  int lastIndex_ = -1;
};

}  // namespace norvane::ui
