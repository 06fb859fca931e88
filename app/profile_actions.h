#pragma once
// The profile bar's buttons as the main window carries them out on a device page: the confirmation or file
// choice first, then the bar's operation, then whatever the device must do so that it works on the profile
// the bar shows. Failures are told by language text id; the list and files stay as the bar left them.

#include "app/screen_size.h"
#include "app/user_prompts.h"
#include "editors/route_action.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

inline constexpr const char* kProfileFileFilter = "Profile Files(*.json)";


// Runs a profile action (kAddProfile ... kRenameProfile, kLoadDefaults) on the page. Anything else, or a
// page without a profile bar or device, does nothing. True when the bar's operation was carried out (the
// user agreed and it succeeded; a device that did not take the profile afterwards is told, but counts).
bool RunProfileAction(editors::RouteAction action, controls::CDevicePageUI& page, UserPrompts& prompts,
                      ScreenPixelSize screen);

// The device takes the defaults of its model: the default profile, its key table and settings written.
// False when the user declined.
bool LoadDeviceDefaults(controls::CDevicePageUI& page, UserPrompts& prompts, ScreenPixelSize screen);

// The text that tells the user the device did not take what its profile holds.
inline constexpr const char* kProfileWriteFailedText = "device_settings_write_failed";

enum class ProfileSwitch { kNone, kSwitched, kWriteFailed };

// The page takes the profile chosen in its bar's combo: the bar selects it, the device loads it, and the
// device is written its key table and settings, so that it works on that profile (a profile is more than
// what the window shows). kNone when the page has nothing to switch; kWriteFailed when the device did not
// take the profile (the page and the list are on it all the same).
ProfileSwitch SwitchToChosenProfile(controls::CDevicePageUI& page, ScreenPixelSize screen);

}  // namespace norvane::app
