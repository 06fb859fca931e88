// The mouse's profile document, the page state taken from it and the DPI stages.
#include <algorithm>

#include "devices/key_table_builder.h"
#include "devices/lighting/light_conversion.h"
#include "devices/mouse/mouse_device.h"
#include "platform/xdg_paths.h"

namespace norvane::devices {

void CNorvaneMouseDevice::TakeProfileDocument() {
  key_list_ = profile_.GetKeyList();
  RefreshKeyButtons();
  stages_ = profile_.GetDpiStages();
  active_stage_ = profile_.GetActiveDpiStage();
  system_ = profile_.GetSystemStages();
  correction_ = profile_.GetCorrectInfo();
}

int CNorvaneMouseDevice::LoadProfile() {
  // Without a usable file name the page keeps the profile it has rather than fall back to another file.
  if (!LoadProfileDocument()) return 0;
  TakeProfileDocument();
  return 1;
}

void CNorvaneMouseDevice::LoadDefaultProfile() {
  if (!LoadDefaultDocument()) return;
  TakeProfileDocument();
  SaveProfile();
  RefreshPage();
}

int CNorvaneMouseDevice::RefreshKeyButtons() {
  SetLightParams(lighting::ToLightParams(profile_.GetLightInfo()));
  return 1;
}

void CNorvaneMouseDevice::FillEffectAndMacroLists() {
  lists_ = ReadEffectLists(DefaultDataFolder() / "default_light.json", LightListFile(), UserProfileFolder(),
                           GetVariantIndex());
}

std::span<const std::uint8_t> CNorvaneMouseDevice::ModeTable() {
  if (lists_.modeTable.empty()) FillEffectAndMacroLists();
  return lists_.modeTable;
}

void CNorvaneMouseDevice::RefreshPage() {
  FillEffectAndMacroLists();
  RefreshKeyLabels();
  if (View()) View()->RefreshPage();
}

void CNorvaneMouseDevice::DropStaleMacroKeys() {
  FillEffectAndMacroLists();
  bool changed = false;
  for (KeyAssignment& key : key_list_) {
    if (IsMacroAssignment(key.current) && key.current.data1 >= lists_.macroNames.size()) {
      key.current = key.default_function;
      changed = true;
    }
  }
  if (!changed) return;
  profile_.SetKeyList(key_list_);
  RefreshKeyLabels();
  if (View()) View()->RefreshPage();
}

void CNorvaneMouseDevice::SetVariantIndex(int index) {
  CNorvaneUSBDevice::SetVariantIndex(index);
  profile_.SetDeviceIndex(0);
}

// ---- DPI stages and system settings.

int CNorvaneMouseDevice::StageCount() const {
  return static_cast<int>(std::min(stages_.size(), mouse::kStageCount));
}

void CNorvaneMouseDevice::StoreStages() {
  profile_.SetDpiStages(stages_);
  profile_.SetActiveDpiStage(active_stage_);
}

bool CNorvaneMouseDevice::SetStageEnabled(int stage, bool enabled) {
  if (!HasStage(stage)) return false;
  stages_[static_cast<std::size_t>(stage)].active = enabled ? 1 : 0;
  StoreStages();
  return true;
}

bool CNorvaneMouseDevice::SetStagePosition(int stage, int position) {
  if (!HasStage(stage)) return false;
  const auto kept = static_cast<std::uint16_t>(HasDpiScale() ? DpiScale().Clamp(position) : std::max(position, 0));
  DpiStage& entry = stages_[static_cast<std::size_t>(stage)];
  entry.dpi_x = kept;
  StoreStages();
  return true;
}

bool CNorvaneMouseDevice::SetStageColour(int stage, lighting::Rgb colour) {
  if (!HasStage(stage)) return false;
  DpiStage& entry = stages_[static_cast<std::size_t>(stage)];
  entry.red = colour.red;
  entry.green = colour.green;
  entry.blue = colour.blue;
  StoreStages();
  return true;
}

bool CNorvaneMouseDevice::SetActiveStage(int stage) {
  if (!HasStage(stage)) return false;
  active_stage_ = stage;
  StoreStages();
  return true;
}

mouse::DpiScale CNorvaneMouseDevice::DpiScale() const {
  return {.sensor = layout_.SensorCode(),
          .step = layout_.DpiStep(),
          .highestPosition = layout_.HighestPosition(),
          .lowest = layout_.LowestDpi()};
}

void CNorvaneMouseDevice::SetSystemSettings(const MouseSystemStages& settings) {
  system_ = settings;
  profile_.SetSystemStages(settings);
}

}  // namespace norvane::devices
