#include "profiles/profile_locations.h"

#include <string>

#include "platform/xdg_paths.h"

namespace norvane {

std::filesystem::path DeviceDataFolder(std::string_view folder_name) {
  if (!IsPlainFileName(folder_name)) return {};
  std::filesystem::path folder = UserDataFolder() / std::string(folder_name) / "";
  if (!EnsureFolder(folder)) return {};
  return folder;
}

std::filesystem::path DefaultProfilePath(std::string_view folder_name) {
  if (!IsPlainFileName(folder_name)) return {};
  return DefaultDataFolder() / (std::string(folder_name) + ".Json");
}

}  // namespace norvane
