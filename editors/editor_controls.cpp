#include "editors/editor_controls.h"

#include "editors/combo_edit_element.h"
#include "editors/key_set_control.h"
#include "editors/light_control.h"
#include "editors/macro_control.h"
#include "editors/redio_macro_button.h"
#include "editors/shoot_control.h"
#include "uilib/control_factory.h"

namespace norvane::editors {

void RegisterEditorControls() {
  ui::RegistControl<CKeySetControlUI>(CKeySetControlUI::kClassName);
  ui::RegistControl<CKeySetControlUI>("CKeySetControlUI");
  ui::RegistControl<CLightControlUI>(CLightControlUI::kClassName);
  ui::RegistControl<CLightControlUI>("CLightControlUI");
  ui::RegistControl<CMacroControlUI>(CMacroControlUI::kClassName);
  ui::RegistControl<CMacroControlUI>("CMacroControlUI");
  ui::RegistControl<CRedioMacroButtonUI>(CRedioMacroButtonUI::kClassName);
  ui::RegistControl<CRedioMacroButtonUI>("CRedioMacroButtonUI");
  ui::RegistControl<CShootControlUI>(CShootControlUI::kClassName);
  ui::RegistControl<CShootControlUI>("CShootControlUI");
  ui::RegistControl<CComboEditContainerElementUI>(CComboEditContainerElementUI::kClassName);
  ui::RegistControl<CComboEditContainerElementUI>("CComboEditContainerElementUI");
}

}  // namespace norvane::editors
