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

bool CNorvaneKeyboardDevice::PresentFrame() {
  if (!HasLightControl()) return false;
  std::vector<lighting::LedRecord> leds = FrameSnapshot();
  const std::uint8_t mode = GetLightParams().mode;
  if (live_mode_.load() == keyboard::kCustomColourMode) {
    // The custom colours show as red marks of the keys that are lit; the colours themselves stay stored.
    for (lighting::LedRecord& led : leds) {
      if (keyboard::IsLit(led)) lighting::Paint(led, lighting::Rgb{255, 0, 0}, led.level);
    }
  }
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
  if (live_mode_.load() != keyboard::kCustomColourMode || led < 0 || led >= LedCount()) return;
  const lighting::LightParams params = GetLightParams();
  lighting::LedRecord record = LedAt(static_cast<std::size_t>(led));
  record.red = params.red;
  record.green = params.green;
  record.blue = params.blue;
  record.mark = 1;
  SetLedRecord(static_cast<std::size_t>(led), record);
  if (editorGroup < 0) return;

  std::vector<LightColor> colours;
  for (const lighting::LedRecord& each : FrameSnapshot()) {
    colours.push_back({each.red, each.green, each.blue, 0, each.mark});
  }
  profile_.SetLightColors(colours, editorGroup);
  SaveProfile();
  protocol::CommandChannel& channel = CommandChannel();
  if (channel.IsOpen() && !channel.IsWireless()) {
    const keyboard::LightMask mask = keyboard::BuildLightMask(FrameSnapshot(), layout_.maps.lights);
    protocol::CmdWriteKeyLight(channel, mask, 0);
  }
}

}  // namespace norvane::devices
