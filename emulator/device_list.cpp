// Names of the emulated devices and the device list of "--emulate LIST" and NORVANE_EMULATE.

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "emulator/emulator.h"

namespace norvane::emulator {
namespace {

constexpr std::array<std::pair<DeviceModel, std::string_view>, 6> kNames{{
    {DeviceModel::kKeyboard, "keyboard"},
    {DeviceModel::kKeyboardReceiver, "keyboard-receiver"},
    {DeviceModel::kMouse, "mouse"},
    {DeviceModel::kMouseReceiver, "mouse-receiver"},
    {DeviceModel::kMousePad, "mousepad"},
    {DeviceModel::kHeadset, "headset"},
}};

std::string_view TrimBlanks(std::string_view text) {
  const auto is_blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

std::string KnownNames() {
  std::string names;
  for (const auto& [model, name] : kNames) {
    if (!names.empty()) names += ", ";
    names += name;
  }
  return names;
}

void SetError(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
}

}  // namespace

std::string_view DeviceModelName(DeviceModel model) {
  for (const auto& [known, name] : kNames) {
    if (known == model) return name;
  }
  return "unknown";
}

std::optional<std::vector<DeviceModel>> ParseDeviceList(std::string_view list, std::string* error) {
  std::vector<DeviceModel> models;
  if (TrimBlanks(list).empty()) {
    SetError(error, "the device list is empty; known devices: " + KnownNames());
    return std::nullopt;
  }
  while (true) {
    const size_t comma = list.find(',');
    const std::string_view name = TrimBlanks(list.substr(0, comma));
    const auto found = std::find_if(kNames.begin(), kNames.end(),
                                    [&](const auto& entry) { return EqualIgnoringCase(entry.second, name); });
    if (found == kNames.end()) {
      SetError(error, name.empty()
                          ? "the device list has an empty name; known devices: " + KnownNames()
                          : "unknown device \"" + std::string(name) + "\"; known devices: " + KnownNames());
      return std::nullopt;
    }
    models.push_back(found->first);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return models;
}

std::optional<std::string> EmulateListFromEnvironment() {
  // getenv is read once per call; nothing in the program changes the environment after start-up.
  const char* value = std::getenv("NORVANE_EMULATE");
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace norvane::emulator
