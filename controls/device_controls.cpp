#include "controls/device_controls.h"

#include "controls/select_panel.h"

#include "controls/audio_record.h"
#include "controls/device_key_button.h"
#include "controls/device_option.h"
#include "controls/device_profile.h"
#include "uilib/control_factory.h"

namespace norvane::controls {

void RegisterDeviceControls() {
  ui::RegistControl<CDeviceOptionUI>(CDeviceOptionUI::kClassName);
  ui::RegistControl<CDeviceProfileUI>(CDeviceProfileUI::kClassName);
  ui::RegistControl<CDeviceKeyButtonUI>(CDeviceKeyButtonUI::kClassName);
  ui::RegistControl<CSelectPanelUI>(CSelectPanelUI::kClassName);
  ui::RegistControl<CSelectPanelUI>("CSelectPanelUI");
  ui::RegistControl<CAudioRecordUI>(CAudioRecordUI::kClassName);
  ui::RegistControl<CAudioRecordUI>("CAudioRecordUI");
}

}  // namespace norvane::controls
