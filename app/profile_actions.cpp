#include "app/profile_actions.h"

#include "controls/device_profile.h"
#include "controls/pages/device_page.h"
#include "devices/profile_writes.h"
#include "editors/key_assignment_editor.h"
#include "editors/key_set_control.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"

namespace norvane::app {

namespace {

using controls::CDeviceProfileUI;
using editors::RouteAction;

constexpr const char* kWriteFailed = kProfileWriteFailedText;

// Tells why an operation did not complete, when there is something to tell; whether it did.
bool TellResult(UserPrompts& prompts, const ProfileListResult& result, bool isRename = false) {
  const ui::CDuiString textId = controls::ProfileResultMessageId(result, isRename);
  if (!result.done() && !result.error.empty()) Trace("profile bar: " + result.error);
  if (!textId.isEmpty()) prompts.Tell(textId);
  return result.done();
}

// Writes the key table and the settings of the loaded profile with the screen's size. True when
// everything the device has went out (or the device is not connected).
bool WriteProfileToDevice(devices::CNorvaneUSBDevice& device, ScreenPixelSize screen) {
  device.SetScreenSize(screen.width, screen.height);
  return devices::WriteProfileToDevice(device) == protocol::kResultOk;
}

}  // namespace

bool LoadDeviceDefaults(controls::CDevicePageUI& page, UserPrompts& prompts, ScreenPixelSize screen) {
  devices::CNorvaneUSBDevice* device = page.Device();
  if (!device || !prompts.Confirm("message_text_22")) return false;
  device->LoadDefaultProfile();
  if (!WriteProfileToDevice(*device, screen)) prompts.Tell(kWriteFailed);
  return true;
}

ProfileSwitch SwitchToChosenProfile(controls::CDevicePageUI& page, ScreenPixelSize screen) {
  if (!page.SwitchToChosenProfile()) return ProfileSwitch::kNone;
  return WriteProfileToDevice(*page.Device(), screen) ? ProfileSwitch::kSwitched
                                                      : ProfileSwitch::kWriteFailed;
}

bool RunProfileAction(RouteAction action, controls::CDevicePageUI& page, UserPrompts& prompts,
                      ScreenPixelSize screen) {
  if (action == RouteAction::kLoadDefaults) {
    return LoadDeviceDefaults(page, prompts, screen);
  }
  CDeviceProfileUI* bar = page.ProfileBar();
  if (!bar || !page.Device()) return false;
  switch (action) {
    case RouteAction::kAddProfile:
      // Asking first for what cannot be done would end in silence: say why instead.
      if (bar->GetProfileCount() >= int(CDeviceProfileList::kMaxProfilesForAdd)) {
        prompts.Tell("profile_limit_text");
        return false;
      }
      return prompts.Confirm("message_text_27") && TellResult(prompts, bar->AddProfile());
    case RouteAction::kDeleteProfile: {
      if (bar->GetProfileCount() <= 1) {
        prompts.Tell("profile_last_one_text");
        return false;
      }
      if (!prompts.Confirm("message_text_29")) return false;
      if (!TellResult(prompts, bar->DeleteProfile())) return false;
      // The device worked on the profile that is gone: it takes the one the bar selects now.
      page.LoadSelectedProfile();
      return true;
    }
    case RouteAction::kCopyProfile:
      return prompts.Confirm("message_text_26") && TellResult(prompts, bar->CopyProfile());
    case RouteAction::kImportProfile: {
      if (bar->GetSelectedIndex() < 0) return false;
      const std::optional<ui::CDuiString> path = prompts.OpenFile(kProfileFileFilter);
      // A file that is no profile is passed over, as the list does.
      return path && TellResult(prompts, bar->ImportProfile(*path));
    }
    case RouteAction::kExportProfile: {
      const std::optional<ui::CDuiString> path = prompts.SaveFile(kProfileFileFilter);
      return path && TellResult(prompts, bar->ExportProfile(*path));
    }
    case RouteAction::kResetProfile: {
      if (!prompts.Confirm("message_text_22") || !TellResult(prompts, bar->ResetProfile())) return false;
      page.LoadSelectedProfile();
      // The key panel's parameter fields start over with the profile.
      if (editors::CKeySetControlUI* keys = editors::CKeyAssignmentEditor::PanelOf(page))
        keys->ResetParameterControls();
      if (!WriteProfileToDevice(*page.Device(), screen)) prompts.Tell(kWriteFailed);
      return true;
    }
    case RouteAction::kRenameProfile: {
      const ui::CDuiString name = bar->GetNameText();
      return !name.isEmpty() && TellResult(prompts, bar->RenameProfile(name), true);
    }
    default:
      return false;
  }
}

}  // namespace norvane::app
