#include "uilib/demo/demo_controls.h"

#include "uilib/control_factory.h"
#include "uilib/slider.h"

namespace norvane::ui::demo {

void CDemoStatCardUI::DoInit() {
  LoadSubSkin("XML\\CustomControlXML\\StatCard.xml");
}

void CDemoStatCardUI::SetPercent(int percent) {
  if (CControlUI* value = FindSubControl("stat_value")) value->SetText(QStringLiteral("%1%").arg(percent));
  if (auto* bar = dynamic_cast<CProgressUI*>(FindSubControl("stat_bar"))) bar->SetValue(percent);
}

void RegisterDemoControls() {
  RegistControl<CDemoStatCardUI>("CDemoStatCardUI");
}

}  // namespace norvane::ui::demo
