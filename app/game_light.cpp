#include "app/game_light.h"

#include <algorithm>
#include <cstdio>

#include "app/page_lighting.h"
#include "controls/pages/device_page.h"
#include "devices/effect_lists.h"
#include "platform/trace.h"

namespace norvane::app {

namespace {

constexpr int kTopLevel = 4;

}  // namespace

std::uint32_t LightWord(const lighting::LightParams& p) {
  return std::uint32_t{p.mode} | std::uint32_t{p.brightness} << 8 | std::uint32_t{p.speed} << 16 |
         std::uint32_t{p.direction} << 24;
}

std::uint32_t GameLightWord(std::uint32_t word, std::uint64_t wParam, std::int64_t lParam) {
  const auto bits = static_cast<std::uint32_t>(static_cast<std::uint64_t>(lParam));
  if (wParam == 0) return bits;
  return (word & 0xFFFFFF00u) | (bits & 0xFFu);
}

std::optional<lighting::LightParams> GameLightParams(const lighting::LightParams& current, std::uint32_t word,
                                                     std::size_t modeCount) {
  const auto mode = static_cast<std::uint8_t>(word);
  const auto brightness = static_cast<std::uint8_t>(word >> 8);
  const auto speed = static_cast<std::uint8_t>(word >> 16);
  const auto direction = static_cast<std::uint8_t>(word >> 24);
  if (mode >= modeCount || brightness > kTopLevel || speed > kTopLevel || direction > 1) return std::nullopt;
  lighting::LightParams p = current;
  p.mode = mode;
  p.brightness = brightness;
  p.speed = speed;
  p.direction = direction;
  return p;
}

CGameLight::CGameLight(PageSource currentPage, const Clock& clock)
    : currentPage_(std::move(currentPage)), clock_(clock) {
  applyTimer_.setSingleShot(true);
  QObject::connect(&applyTimer_, &QTimer::timeout, [this] {
    if (const auto pending = std::exchange(pending_, std::nullopt)) Apply(pending->first, pending->second);
  });
}

CGameLight::~CGameLight() = default;

void CGameLight::OnGameEvent(std::uint64_t wParam, std::int64_t lParam) {
  if (wParam > 2) return;
  const Clock::TimePoint now = clock_.Now();
  if (!lastApply_ || now - *lastApply_ >= kApplySpacing) {
    Apply(wParam, lParam);
    return;
  }
  // Too soon after the last one: the latest event of the flood goes out when the spacing is over.
  pending_ = {wParam, lParam};
  if (!applyTimer_.isActive()) {
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*lastApply_ + kApplySpacing - now);
    applyTimer_.start(std::max<int>(0, int(wait.count())));
  }
}

void CGameLight::Apply(std::uint64_t wParam, std::int64_t lParam) {
  lastApply_ = clock_.Now();
  controls::CDevicePageUI* page = currentPage_ ? currentPage_() : nullptr;
  if (!page || !page->Device()) return;
  devices::CNorvaneUSBDevice& device = *page->Device();
  const lighting::LightParams current = device.GetLightParams();
  const std::uint32_t word = GameLightWord(LightWord(current), wParam, lParam);
  const std::optional<lighting::LightParams> game =
      GameLightParams(current, word, devices::ReadPageEffectLists(device).modeTable.size());
  if (!game) {
    char hex[12];
    std::snprintf(hex, sizeof hex, "%08X", word);
    Trace(std::string("game lighting: refused the effect word 0x") + hex + " (wParam " + std::to_string(wParam) +
          ")");
    return;
  }
  Kept* kept = Find(*page);
  if (!kept) {
    kept_.push_back(Kept{page, device.CurrentProfileFile(), current, ProfileLight(device), device.IsLightSynced()});
    kept = &kept_.back();
  }
  Trace("game lighting: effect " + std::to_string(game->mode) + " for 5 s");
  device.SetLightSynced(false);
  ShowLightParams(*page, *game);
  if (const int result = WriteDeviceLighting(*page); result != 1)
    Trace("game lighting: the device did not take the effect (" + std::to_string(result) + ")");
  // The profile keeps the user's lighting: a save in the meantime must not store the game's.
  SetProfileLight(device, kept->profileLight);
}

void CGameLight::RestoreAll() {
  pending_.reset();
  applyTimer_.stop();
  std::vector<Kept> kept = std::exchange(kept_, {});
  for (const Kept& one : kept) RestoreKept(one);
}

void CGameLight::Restore(controls::CDevicePageUI& page) {
  const auto it = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.page == &page; });
  if (it == kept_.end()) return;
  const Kept kept = *it;
  kept_.erase(it);
  RestoreKept(kept);
}

void CGameLight::RestoreKept(const Kept& kept) {
  controls::CDevicePageUI* page = kept.page.data();
  if (!page || !page->Device()) return;
  devices::CNorvaneUSBDevice& device = *page->Device();
  // Another profile came meanwhile (from the device itself): it brought its own lighting.
  if (device.CurrentProfileFile() != kept.profile) return;
  ShowLightParams(*page, kept.params);
  SetProfileLight(device, kept.profileLight);
  device.SaveProfile();
  if (const int result = WriteDeviceLighting(*page); result != 1)
    Trace("game lighting: the device did not take its own effect back (" + std::to_string(result) + ")");
  device.SetLightSynced(kept.synced);
}

void CGameLight::Forget(const controls::CDevicePageUI& page) {
  std::erase_if(kept_, [&](const Kept& k) { return k.page == &page || !k.page; });
}

bool CGameLight::IsKept(const controls::CDevicePageUI& page) const {
  return std::any_of(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.page == &page; });
}

CGameLight::Kept* CGameLight::Find(const controls::CDevicePageUI& page) {
  for (Kept& k : kept_)
    if (k.page == &page) return &k;
  return nullptr;
}

}  // namespace norvane::app
