#include "app/skin_changed.h"

#include "uilib/paint_manager.h"

namespace norvane::app {

ObserverImpl<int, SkinChangedParam>& SkinChangedObserver() {
  static ObserverImpl<int, SkinChangedParam> observer;
  return observer;
}

void ApplySkinChange(ui::CPaintManagerUI& manager, const SkinChangedParam& param) {
  ui::CControlUI* root = manager.FindControl("root");
  if (!root) return;
  if (param.useColor) {
    root->SetBkImage({});
    root->SetBkColor(param.bkColor);
  } else {
    root->SetBkColor(0);
    root->SetBkImage(param.bkImage);
  }
}

}  // namespace norvane::app
