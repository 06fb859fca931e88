#pragma once
// CTabLayoutUI: pages of which one is shown at a time (a stacked widget in the skin). Selecting a page from
// code raises no notification.

#include <QStackedWidget>

#include "uilib/control.h"

namespace norvane::ui {

class CTabLayoutUI : public ControlBase<QStackedWidget> {
 public:
  explicit CTabLayoutUI(QWidget* parent = nullptr) : ControlBase(parent) {}

  int GetCount() const { return count(); }
  int GetCurSel() const { return currentIndex(); }
  bool SelectItem(int index);
  bool SelectItem(CControlUI* page);
  CControlUI* GetItemAt(int index) const;
  bool Add(CControlUI* page);
};

}  // namespace norvane::ui
