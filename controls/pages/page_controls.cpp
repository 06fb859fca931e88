#include "controls/pages/page_controls.h"

#include "controls/mp_device_power.h"
#include "controls/pages/light_preview.h"
#include "uilib/control_factory.h"

namespace norvane::controls {

void RegisterPageControls() {
  ui::RegistControl<CMpDevicePowerUI>(CMpDevicePowerUI::kClassName);
  ui::RegistControl<CLightPreviewUI>(CLightPreviewUI::kClassName);
}

}  // namespace norvane::controls
