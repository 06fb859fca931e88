// Presenting the lighting: the preview, the streamed frames and the custom-colour mode's light mask.
#include <algorithm>

#include "devices/keyboard/keyboard_device.h"
#include "devices/keyboard/light_mask.h"
#include "platform/trace.h"
#include "protocol/command_codes.h"
#include "protocol/commands.h"

namespace norvane::devices {

std::size_t CNorvaneKeyboardDevice::StreamBytes() const {
  return std::min(layout_.TableBytes(), lighting::kDeviceFrameSize);
}

lighting::DeviceFrame CNorvaneKeyboardDevice::BuildFrameForDevice(
    std::span<const lighting::LedRecord> leds) const {
  return lighting::BuildKeyboardDeviceFrame(leds, layout_.maps.lights);
}

bool CNorvaneKeyboardDevice::FramesReachDevice() const {
  return keyboard::IsStreamedMode(live_mode_.load());
}

bool CNorvaneKeyboardDevice::PresentFrame() {
  if (!HasLightControl()) return false;
  // In the per-key colour effect every lit key shows the colour it was painted in (not one mark colour for
  // all), so the picture tells keys painted differently apart.
  std::vector<lighting::LedRecord> leds = FrameSnapshot();
  const std::uint8_t mode = GetLightParams().mode;
  const lighting::DeviceFrame frame = BuildFrameForDevice(leds);
  SetLastDeviceFrame(frame);
  if (FramePreview* preview = Preview(); preview != nullptr) {
    // Outside the lighting tab the light buttons stay dark.
    if (GetFunctionTab() != 1) std::fill(leds.begin(), leds.end(), lighting::LedRecord{});
    preview->ShowFrame(leds, frame);
  }
  protocol::CommandChannel& channel = CommandChannel();
  if (keyboard::IsStreamedMode(mode) && channel.IsOpen() && !channel.IsWireless() && StreamBytes() > 0) {
    last_stream_ = streamer_.Stream(channel, frame, StreamBytes());
  }
  return true;
}

int CNorvaneKeyboardDevice::SendLightMask() {
  if (live_mode_.load() != keyboard::kCustomColourMode) return 0;
  const keyboard::LightMask mask = keyboard::BuildLightMask(FrameSnapshot(), layout_.maps.lights);
  const int result = protocol::CmdWriteKeyLight(CommandChannel(), mask, 0);
  if (result != protocol::kResultOk) {
    Trace("keyboard: sending the light mask failed: " + std::string(protocol::DescribeResult(result)));
  }
  return result;
}

void CNorvaneKeyboardDevice::SetCustomKeyColour(int led, int editorGroup) {
  const int leds[] = {led};
  SetCustomKeyColours(leds, editorGroup);
}

void CNorvaneKeyboardDevice::SetCustomKeyColours(std::span<const int> leds, int editorGroup) {
  if (live_mode_.load() != keyboard::kCustomColourMode) return;
  const lighting::LightParams params = GetLightParams();
  bool painted = false;
  for (const int led : leds) {
    if (led < 0 || led >= LedCount()) continue;
    lighting::LedRecord record = LedAt(static_cast<std::size_t>(led));
    record.red = params.red;
    record.green = params.green;
    record.blue = params.blue;
    record.mark = 1;
    SetLedRecord(static_cast<std::size_t>(led), record);
    painted = true;
  }
  if (!painted || editorGroup < 0) return;
  StoreCustomColours(editorGroup);
  protocol::CommandChannel& channel = CommandChannel();
  if (channel.IsOpen() && !channel.IsWireless()) {
    const keyboard::LightMask mask = keyboard::BuildLightMask(FrameSnapshot(), layout_.maps.lights);
    if (const int result = protocol::CmdWriteKeyLight(channel, mask, 0); result != protocol::kResultOk)
      Trace("keyboard: sending the light mask failed: " + std::string(protocol::DescribeResult(result)));
  }
}

void CNorvaneKeyboardDevice::StoreCustomColours(int group) {
  std::vector<LightColor> colours;
  for (const lighting::LedRecord& each : FrameSnapshot()) {
    colours.push_back({each.red, each.green, each.blue, 0, each.mark});
  }
  profile_.SetLightColors(colours, group);
  SaveProfile();
}

void CNorvaneKeyboardDevice::FillCustomColours(int lit, int editorGroup) {
  const lighting::LightParams params = GetLightParams();
  for (int led = 0; led < LedCount(); ++led) {
    lighting::LedRecord record = LedAt(static_cast<std::size_t>(led));
    record.red = lit ? params.red : 0;
    record.green = lit ? params.green : 0;
    record.blue = lit ? params.blue : 0;
    record.mark = lit ? 1 : 0;
    SetLedRecord(static_cast<std::size_t>(led), record);
  }
  (void)SendLightMask();
  if (editorGroup >= 0) StoreCustomColours(editorGroup);
}

void CNorvaneKeyboardDevice::ChooseCustomGroup(int group) {
  profile_.SetLightColorGroup(group);
  SaveProfile();
}

}  // namespace norvane::devices
