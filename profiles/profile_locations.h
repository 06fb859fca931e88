#pragma once
// Where a device's profile files live: one folder per device model below the user data folder, named by
// the model's device folder name, and the model's default profile in the default-data folder.

#include <filesystem>
#include <string_view>

namespace norvane {

// The device folder names, exactly as they appear on disk.
inline constexpr std::string_view kKeyboardFolder = "keyboard";
inline constexpr std::string_view kMouseFolder = "mouse";
inline constexpr std::string_view kMousePadFolder = "MousePad";
inline constexpr std::string_view kHeadsetFolder = "HD";

// The light configuration of a device folder.
inline constexpr std::string_view kLightConfigFileName = "vexor_light.config";

// UserDataFolder() + folder_name + "/", created when missing. Empty when folder_name is not a plain name
// or the folder cannot be created.
std::filesystem::path DeviceDataFolder(std::string_view folder_name);

// DefaultDataFolder() + folder_name + ".Json"; empty when folder_name is not a plain name.
std::filesystem::path DefaultProfilePath(std::string_view folder_name);

}  // namespace norvane
