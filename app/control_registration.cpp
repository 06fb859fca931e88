#include "app/control_registration.h"

#include "app/update_info_list_item.h"
#include "controls/device_controls.h"
#include "controls/pages/page_controls.h"
#include "editors/editor_controls.h"
#include "uilib/control_factory.h"
#include "uilib/theme.h"

namespace norvane::app {

void RegisterProgramControls() {
  ui::RegisterLibraryControls();
  // The device tab and the profile bar, then the device pages' controls (power panel, light preview).
  controls::RegisterDeviceControls();
  controls::RegisterPageControls();
  // The editors' panels inside the device pages.
  editors::RegisterEditorControls();
  // The settings window's update list rows.
  ui::RegistControl<CUpdateInfoListItemUI>(CUpdateInfoListItemUI::kClassName);
}

}  // namespace norvane::app
