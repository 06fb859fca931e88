// The keyboard's profile document and the page state taken from it.
#include "devices/keyboard/key_table_builder.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/lighting/light_conversion.h"

namespace norvane::devices {

void CNorvaneKeyboardDevice::TakeProfileDocument() {
  key_list_ = profile_.GetKeyList();
  RefreshKeyButtons();
  system_ = profile_.GetSystemStages();
}

int CNorvaneKeyboardDevice::LoadProfile() {
  // Without a usable file name the page keeps the profile it has rather than fall back to another file.
  if (!LoadProfileDocument()) return 0;
  TakeProfileDocument();
  return 1;
}

void CNorvaneKeyboardDevice::LoadDefaultProfile() {
  if (!LoadDefaultDocument()) return;
  TakeProfileDocument();
  SaveProfile();
  RefreshPage();
}

int CNorvaneKeyboardDevice::RefreshKeyButtons() {
  const std::uint8_t previous_mode = live_mode_.load();
  const lighting::LightParams light = lighting::ToLightParams(profile_.GetLightInfo());
  CNorvaneUSBDevice::SetLightParams(light);
  const lighting::AudioLight audio = lighting::ToAudioLight(profile_.GetAudioLightInfo());
  CNorvaneUSBDevice::SetAudioLight(audio);
  lighting_.SetAudioLight(audio);

  lighting::LightParams live = live_light_;
  live.mode = light.mode;
  live.brightness = light.brightness;
  live.speed = light.speed;
  live.multiColour = light.multiColour;
  live.red = light.red;
  live.green = light.green;
  live.blue = light.blue;
  SetLiveCopy(live);
  if (live.mode != previous_mode || live.mode == keyboard::kCustomColourMode) StartLightMode(live.mode);

  lighting_.SetPerKeyEffects(lighting::ToPerLedEffects(profile_.GetLightList()));
  profile_.LoadLightConfig(LightListFile());
  lighting_.SetCustomSteps(lighting::ToLightSteps(profile_.GetCustomLightSteps()));
  return 1;
}

void CNorvaneKeyboardDevice::FillEffectAndMacroLists() {
  lists_ = ReadPageEffectLists(*this);
}

std::span<const std::uint8_t> CNorvaneKeyboardDevice::ModeTable() {
  if (lists_.modeTable.empty()) FillEffectAndMacroLists();
  return lists_.modeTable;
}

void CNorvaneKeyboardDevice::RefreshPage() {
  FillEffectAndMacroLists();
  RefreshKeyLabels();
  if (View()) View()->RefreshPage();
}

void CNorvaneKeyboardDevice::DropStaleMacroKeys() {
  FillEffectAndMacroLists();
  bool changed = false;
  for (KeyAssignment& key : key_list_) {
    if (keyboard::IsMacroAssignment(key.current) && key.current.data1 >= lists_.macroNames.size()) {
      key.current = key.default_function;
      changed = true;
    }
  }
  if (!changed) return;
  profile_.SetKeyList(key_list_);
  RefreshKeyLabels();
  if (View()) View()->RefreshPage();
}

void CNorvaneKeyboardDevice::SetVariantIndex(int index) {
  CNorvaneUSBDevice::SetVariantIndex(index);
  profile_.SetDeviceIndex(0);
}

}  // namespace norvane::devices
