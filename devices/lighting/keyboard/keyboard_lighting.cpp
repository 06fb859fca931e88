#include "devices/lighting/keyboard/keyboard_lighting.h"

#include <algorithm>

#include "devices/lighting/keyboard/audio_modes.h"
#include "devices/lighting/keyboard/frame_timing.h"
#include "devices/lighting/keyboard/key_events.h"
#include "devices/lighting/keyboard/keyboard_modes.h"
#include "devices/lighting/keyboard/mode_startup.h"

namespace norvane::lighting::keyboard {

void KeyboardLighting::Tick(const LightParams& live, std::span<LedRecord> frame, Clock::TimePoint now) {
  std::lock_guard lock(mutex_);
  ++ticksSinceFrame_;
  if (IsBuiltInMode(live.mode)) {
    if (ticksSinceFrame_ >= FrameInterval(live.mode, live.speed)) {
      RenderKeyboardFrame(state_, FrameInputs{live, now, random_}, frame);
      ticksSinceFrame_ = 0;
    }
  } else {
    customSteps_.PlayTick(frame, now, live.speed);
  }
  overlay_.Apply(frame, now);
}

void KeyboardLighting::StartMode(std::uint8_t mode, std::span<LedRecord> frame) {
  std::lock_guard lock(mutex_);
  StartKeyboardMode(state_, mode, frame);
}

void KeyboardLighting::OnKeyEvent(std::uint8_t liveMode, std::span<const std::uint8_t> keyPositions,
                                  std::uint8_t devicePosition, std::uint8_t action) {
  std::lock_guard lock(mutex_);
  TriggerKey(state_, liveMode, keyPositions, devicePosition, action, random_);
}

void KeyboardLighting::SetPerKeyEffects(std::vector<PerLedEffect> effects) {
  std::lock_guard lock(mutex_);
  overlay_.SetEffects(std::move(effects));
}

void KeyboardLighting::SetAudioLight(const AudioLight& light) {
  std::lock_guard lock(mutex_);
  state_.audio.light = light;
}

void KeyboardLighting::FeedAudioLevels(std::uint8_t liveMode, std::span<const std::int32_t> levels) {
  std::lock_guard lock(mutex_);
  keyboard::FeedAudioLevels(state_, liveMode, levels);
}

void KeyboardLighting::FeedAudioBands(std::span<const std::int32_t> bands) {
  auto band = [&](std::size_t i) {
    return static_cast<std::uint8_t>(i < bands.size() ? std::clamp<std::int32_t>(bands[i], 0, 255) : 0);
  };
  std::lock_guard lock(mutex_);
  state_.audioColour = Rgb{band(0), band(1), band(2)};
}

KeyboardLightState KeyboardLighting::StateSnapshot() const {
  std::lock_guard lock(mutex_);
  return state_;
}

}  // namespace norvane::lighting::keyboard
