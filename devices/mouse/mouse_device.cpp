// The mouse page's object life, its lighting and the device events.
#include "devices/mouse/mouse_device.h"

#include "devices/key_labels.h"
#include "devices/lighting/light_conversion.h"

namespace norvane::devices {

CNorvaneMouseDevice::CNorvaneMouseDevice(PageServices services) : CNorvaneUSBDevice(services) {}

CNorvaneMouseDevice::~CNorvaneMouseDevice() {
  // The threads call this object's overrides: stop them before any member goes.
  StopLightingThread();
  CloseEventInterface(EventSide::kWired);
  CloseEventInterface(EventSide::kReceiver);
}

void CNorvaneMouseDevice::ComputeFrame(Clock::TimePoint now) {
  WithFrame([&](std::span<lighting::LedRecord> frame, auto&, const lighting::LightParams& params) {
    lighting_.Tick(params, frame, now);
  });
}

// On a sync thread: a click goes straight to the lighting (it locks for itself); a profile or stage the
// mouse switched to is posted to the UI thread.
void CNorvaneMouseDevice::HandleEventCode(uint16_t code, EventSide side) {
  if (code == kEventResync || code == kEventResyncProfile) {
    CNorvaneUSBDevice::HandleEventCode(code, side);
    return;
  }
  if (code == kEventClick) {
    lighting_.OnClick(live_mode_.load());
    return;
  }
  if (code < kEventClick || !CommandChannel().IsOpen()) return;
  const auto high = static_cast<std::uint8_t>(code >> 8);
  if (high != kEventProfile && high != kEventProfileAndStage) return;
  const int profile = code & 0x0F;
  active_profile_ = profile;
  std::optional<int> stage;
  if (high == kEventProfileAndStage) stage = (code >> 4) & 0x0F;
  PostToUi([this, profile, stage] { TakeDeviceSwitch(profile, stage); });
}

void CNorvaneMouseDevice::TakeDeviceSwitch(int profile, std::optional<int> stage) {
  active_profile_ = profile;
  // The stage pressed on the mouse is the one the page shows; a number the profile has no stage for is not.
  if (stage && HasStage(*stage) && *stage != active_stage_) {
    active_stage_ = *stage;
    profile_.SetActiveDpiStage(active_stage_);
    SaveProfile();
  }
  RefreshPage();
}

void CNorvaneMouseDevice::SetLightParams(const lighting::LightParams& params) {
  CNorvaneUSBDevice::SetLightParams(params);
  StoreLightIntoProfile();
  if (params.mode != live_mode_.load()) {
    live_mode_ = params.mode;
    lighting_.StartMode();
  }
}

void CNorvaneMouseDevice::StoreLightIntoProfile() {
  profile_.SetLightInfo(lighting::ToLightEffect(GetLightParams(), profile_.GetLightInfo()));
}

void CNorvaneMouseDevice::SelectFunctionTab(int code) {
  CNorvaneUSBDevice::SelectFunctionTab(code);
  if (View()) View()->HideHint();
}

void CNorvaneMouseDevice::SelectKey(int index) {
  CNorvaneUSBDevice::SelectKey(index);
  if (View()) View()->ShowKeyAssignment(index);
}

void CNorvaneMouseDevice::SelectLightKey(int index) {
  CNorvaneUSBDevice::SelectLightKey(index);
  if (View()) View()->ShowKeyAssignment(index);
}

void CNorvaneMouseDevice::SetSelectedKeyAssignment(const KeyAssignment& assignment) {
  const int key = SelectedKey();
  if (key < 0 || static_cast<std::size_t>(key) >= key_list_.size()) return;
  // The list's own key numbers stay: the editor hands back only the functions.
  key_list_[static_cast<std::size_t>(key)].current = assignment.current;
  profile_.SetKeyList(key_list_);
  SaveProfile();
}

void CNorvaneMouseDevice::RefreshKeyLabels() {
  if (!View()) return;
  for (std::size_t button = 0; button < key_list_.size() && button < mouse::kButtonCount; ++button) {
    const std::optional<KeyLabel> label = DeriveKeyLabel(key_list_[button].current, lists_.macroNames);
    if (!label) continue;
    // A button's own name is what its reference code does.
    const std::optional<KeyLabel> own = DeriveKeyLabel(mouse::ButtonReference(button), {});
    const std::string ownName = own && own->size() == 1 && own->front().nameKey ? own->front().text : std::string();
    View()->ShowKeyLabel(static_cast<int>(button), ownName, *label);
  }
}

void CNorvaneMouseDevice::ShowMessage(DeviceMessage message) const {
  if (View()) View()->ShowMessage(message);
}

}  // namespace norvane::devices
