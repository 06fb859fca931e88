// The keyboard page's object life, its lighting engine hook-up and the device events.
#include "devices/keyboard/keyboard_device.h"

#include <algorithm>

#include "devices/lighting/keyboard/key_events.h"
#include "devices/lighting/light_conversion.h"

namespace norvane::devices {
namespace {

const Clock& ClockOf(const PageServices& services) {
  return services.clock != nullptr ? *services.clock : SteadyClock::Instance();
}

// Key presses and releases arrive as 0x05pp and 0x06pp, pp being the key's device position.
constexpr uint16_t kKeyPressedBase = 0x0500;
constexpr uint16_t kKeyReleasedBase = 0x0600;
constexpr uint16_t kKeyEventsEnd = 0x0700;

}  // namespace

CNorvaneKeyboardDevice::CNorvaneKeyboardDevice(PageServices services)
    : CNorvaneUSBDevice(services), streamer_(ClockOf(services)) {
  event_positions_.fill(keyboard::kNoPosition);
}

CNorvaneKeyboardDevice::~CNorvaneKeyboardDevice() {
  // The threads call this object's overrides: stop them before any member goes.
  StopLightingThread();
  CloseEventInterface(EventSide::kWired);
  CloseEventInterface(EventSide::kReceiver);
}

void CNorvaneKeyboardDevice::ComputeFrame(Clock::TimePoint now) {
  WithFrame([&](std::span<lighting::LedRecord> frame, auto&, const lighting::LightParams& params) {
    lighting::LightParams live = params;
    live.mode = live_mode_.load();
    live.speed = live_speed_.load();
    lighting_.Tick(live, frame, now);
  });
}

void CNorvaneKeyboardDevice::StartLightMode(std::uint8_t mode) {
  WithFrame(
      [&](std::span<lighting::LedRecord> frame, auto&, const auto&) { lighting_.StartMode(mode, frame); });
  if (mode == keyboard::kCustomColourMode) LoadCustomColours();
}

void CNorvaneKeyboardDevice::LoadCustomColours() {
  const std::int32_t group = profile_.GetLightColorGroup();
  const std::vector<LightColor> colours = profile_.GetLightColors(group, LedCount());
  WithFrame([&](std::span<lighting::LedRecord> frame, auto&, const auto&) {
    for (std::size_t led = 0; led < std::min(frame.size(), colours.size()); ++led) {
      const LightColor& colour = colours[led];
      frame[led].red = colour.red;
      frame[led].green = colour.green;
      frame[led].blue = colour.blue;
      frame[led].mark = (colour.red | colour.green | colour.blue) != 0 ? 1 : 0;
    }
  });
  SendLightMask();
}

void CNorvaneKeyboardDevice::SetLiveCopy(const lighting::LightParams& light) {
  live_light_ = light;
  live_mode_ = light.mode;
  // A streamed effect needs frames even while nobody looks at the preview.
  NotifyFrameDemand();
  live_speed_ = light.speed;
}

void CNorvaneKeyboardDevice::SetEventPositions(const keyboard::PositionMap& positions) {
  std::lock_guard lock(positions_mutex_);
  event_positions_ = positions;
}

// On a sync thread: key events go straight to the lighting engine (it locks for itself); everything that
// concerns the page is posted to the UI thread.
void CNorvaneKeyboardDevice::HandleEventCode(uint16_t code, EventSide side) {
  if (code == kEventResync || code == kEventResyncProfile) {
    CNorvaneUSBDevice::HandleEventCode(code, side);
    return;
  }
  if (code < kEventResyncProfile || !CommandChannel().IsOpen()) return;
  const auto high = static_cast<uint8_t>(code >> 8);
  if (high == 0x10 || high == 0x11) {
    active_profile_ = code & 0x0F;
    PostToUi([this] { RefreshPage(); });
    return;
  }
  if ((high & 0x80) != 0) {
    active_profile_ = high & 0x0F;
    PostToUi([this] { RefreshPage(); });
  }
  if (code >= kKeyPressedBase && code < kKeyEventsEnd) {
    const bool pressed = code < kKeyReleasedBase;
    const auto position = static_cast<uint8_t>(code & 0xFF);
    keyboard::PositionMap positions;
    {
      std::lock_guard lock(positions_mutex_);
      positions = event_positions_;
    }
    lighting_.OnKeyEvent(live_mode_.load(), positions, position,
                         pressed ? lighting::keyboard::kKeyPressed : lighting::keyboard::kKeyReleased);
  }
}

void CNorvaneKeyboardDevice::SetLightParams(const lighting::LightParams& params) {
  CNorvaneUSBDevice::SetLightParams(params);
  StoreLightIntoProfile();
}

void CNorvaneKeyboardDevice::SetAudioLight(const lighting::AudioLight& audio) {
  CNorvaneUSBDevice::SetAudioLight(audio);
  lighting_.SetAudioLight(audio);
  profile_.SetAudioLightInfo(lighting::ToAudioLightInfo(audio, profile_.GetAudioLightInfo()));
}

void CNorvaneKeyboardDevice::StoreLightIntoProfile() {
  profile_.SetLightInfo(lighting::ToLightEffect(GetLightParams(), profile_.GetLightInfo()));
}

namespace {

std::vector<std::int32_t> Words(std::span<const std::uint8_t> bytes, std::size_t limit) {
  std::vector<std::int32_t> words;
  const std::size_t count = std::min(bytes.size() / 4, limit);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t word = std::uint32_t{bytes[4 * i]} | std::uint32_t{bytes[4 * i + 1]} << 8 |
                               std::uint32_t{bytes[4 * i + 2]} << 16 | std::uint32_t{bytes[4 * i + 3]} << 24;
    words.push_back(static_cast<std::int32_t>(word));
  }
  return words;
}

}  // namespace

void CNorvaneKeyboardDevice::FeedAudioLevels(std::span<const std::uint8_t> levels) {
  lighting_.FeedAudioLevels(live_mode_.load(), Words(levels, kMaxAudioLevels));
}

void CNorvaneKeyboardDevice::FeedAudioBands(std::span<const std::uint8_t> bands) {
  lighting_.FeedAudioBands(Words(bands, kMaxAudioBands));
}

void CNorvaneKeyboardDevice::SelectFunctionTab(int code) {
  CNorvaneUSBDevice::SelectFunctionTab(code);
  if ((code == 1 || code == 2) && View()) View()->SelectKeyButton(kFunctionTabKey, code == 1);
}

void CNorvaneKeyboardDevice::SelectKey(int index) {
  CNorvaneUSBDevice::SelectKey(index);
  if (View()) View()->ShowKeyAssignment(index);
}

void CNorvaneKeyboardDevice::SelectLightKey(int index) {
  CNorvaneUSBDevice::SelectLightKey(index);
  if (View()) View()->ShowKeyAssignment(index);
}

void CNorvaneKeyboardDevice::SetSelectedKeyAssignment(const KeyAssignment& assignment) {
  const int key = SelectedKey();
  if (key < 0 || static_cast<std::size_t>(key) >= key_list_.size()) return;
  KeyAssignment& stored = key_list_[static_cast<std::size_t>(key)];
  // The list's own key numbers stay: the editor hands back only the functions.
  stored.current = assignment.current;
  profile_.SetKeyList(key_list_);
  SaveProfile();
}

void CNorvaneKeyboardDevice::RefreshKeyLabels() {
  if (!View()) return;
  for (std::size_t key = 0; key < key_list_.size(); ++key) {
    const std::optional<KeyLabel> label = DeriveKeyLabel(key_list_[key].current, lists_.macroNames);
    if (!label) continue;
    const keyboard::KeyCode reference = keyboard::ReferenceCode(key);
    View()->ShowKeyLabel(static_cast<int>(key), OwnKeyNameKey({reference[0], reference[1], reference[2]}), *label);
  }
}

void CNorvaneKeyboardDevice::SetSystemSettings(const KeyboardSystemStages& settings) {
  system_ = settings;
  profile_.SetSystemStages(settings);
}

void CNorvaneKeyboardDevice::ShowMessage(DeviceMessage message) const {
  if (View()) View()->ShowMessage(message);
}

}  // namespace norvane::devices
