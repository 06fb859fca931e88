#include "editors/page_controls.h"

#include "controls/pages/device_page.h"
#include "uilib/paint_manager.h"
#include "uilib/resource_manager.h"

namespace norvane::editors {

ui::CControlUI* FindInPage(controls::CDevicePageUI& page, const ui::CDuiString& name) {
  return ui::CPaintManagerUI::FindSubControlByName(&page, name);
}

controls::CDevicePageUI* PageOfControl(ui::CControlUI* control) {
  for (QWidget* w = control ? control->GetWidget() : nullptr; w; w = w->parentWidget()) {
    if (auto* page = dynamic_cast<controls::CDevicePageUI*>(ui::ControlOf(w))) return page;
  }
  return nullptr;
}

ui::CDuiString LocalizedText(const ui::CDuiString& id) {
  return ui::CResourceManager::GetInstance().GetText(id).value_or(id);
}

}  // namespace norvane::editors
