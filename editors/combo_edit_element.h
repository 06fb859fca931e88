#pragma once
// CComboEditContainerElementUI (skin class "ComboEditContainerElement"): a row of a list for skins that
// want a step shown as two texts and a delay edit. It builds its children from the sub-skin
// "ComboEditElementItem" ("text1", "text2", "delay_edit") and behaves as a list row: a press selects it
// (Ctrl toggles), a release raises "itemclick", Enter raises "return", a double click activates it
// ("itemactivate"), a context-menu request raises "menu" where the skin allows one ("contextmenu"), and the
// pointer over it makes it hot. With its mouse input off, pointer events go to the list around it.
//
// The macro editor builds its own rows (macro_row.h); this one is offered to skins only.

#include <QPointer>

#include "uilib/button.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/list.h"

namespace norvane::editors {

class CComboEditContainerElementUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "ComboEditContainerElement";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\ComboEditElementItem.xml";

  CComboEditContainerElementUI();

  void DoInit() override;
  // The images of a drawn list row mean nothing to a row of widgets; every other attribute is the
  // container's.
  void SetAttribute(const ui::CDuiString& name, const ui::CDuiString& value) override;

  ui::CLabelUI* FirstText() const { return text1_; }
  ui::CLabelUI* SecondText() const { return text2_; }
  ui::CEditUI* DelayEdit() const { return delay_; }

  // The list holding the row, and its place there; null and -1 outside a list.
  ui::CListUI* OwnerList() const;
  int Index() const;
  bool IsSelected() const;
  // Selects the row in its list (or, toggling, unselects a selected one).
  void Select(bool toggle = false);
  // Selects the row and raises "itemactivate".
  void Activate();

  bool IsHot() const { return hot_; }
  void SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
  bool IsMouseEnabled() const { return mouseEnabled_; }
  void SetContextMenuUsed(bool used) { contextMenu_ = used; }
  bool IsContextMenuUsed() const { return contextMenu_; }
  // The last notification the row took note of: "selectchanged" of its list, "return" of its delay edit.
  const ui::CDuiString& LastNote() const { return lastNote_; }

 protected:
  bool event(QEvent* e) override;

 private:
  void SetHot(bool hot);
  bool HandlePointer(QEvent* e);

  QPointer<ui::CLabelUI> text1_;
  QPointer<ui::CLabelUI> text2_;
  QPointer<ui::CEditUI> delay_;
  bool built_ = false;
  bool hot_ = false;
  bool mouseEnabled_ = true;
  bool contextMenu_ = false;
  bool editReturned_ = false;
  ui::CDuiString lastNote_;
};

}  // namespace norvane::editors
