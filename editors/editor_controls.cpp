#include "editors/editor_controls.h"

#include "editors/key_set_control.h"
#include "editors/light_control.h"
#include "uilib/control_factory.h"

namespace norvane::editors {

void RegisterEditorControls() {
  ui::RegistControl<CKeySetControlUI>(CKeySetControlUI::kClassName);
  ui::RegistControl<CKeySetControlUI>("CKeySetControlUI");
  ui::RegistControl<CLightControlUI>(CLightControlUI::kClassName);
  ui::RegistControl<CLightControlUI>("CLightControlUI");
}

}  // namespace norvane::editors
