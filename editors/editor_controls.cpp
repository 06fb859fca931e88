#include "editors/editor_controls.h"

#include "editors/key_set_control.h"
#include "uilib/control_factory.h"

namespace norvane::editors {

void RegisterEditorControls() {
  ui::RegistControl<CKeySetControlUI>(CKeySetControlUI::kClassName);
  ui::RegistControl<CKeySetControlUI>("CKeySetControlUI");
}

}  // namespace norvane::editors
