#include "uilib/tab_layout.h"

namespace norvane::ui {

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= count()) return false;
  setCurrentIndex(index);
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page) {
  if (!page) return false;
  const int index = indexOf(page->GetWidget());
  return SelectItem(index);
}

CControlUI* CTabLayoutUI::GetItemAt(int index) const {
  return ControlOf(widget(index));
}

bool CTabLayoutUI::Add(CControlUI* page) {
  if (!page) return false;
  addWidget(page->GetWidget());
  return true;
}

}  // namespace norvane::ui
