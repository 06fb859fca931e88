#include "app/light_sync.h"

#include "devices/device_kinds.h"
#include "devices/usb_device.h"

namespace norvane::app {

namespace {

constexpr std::uint16_t kKeyboardKind = 1;
constexpr std::uint16_t kMouseKind = 2;
constexpr std::uint16_t kPadKind = 3;
constexpr std::uint16_t kHeadsetKind = 7;

bool InSharedEffect(devices::CNorvaneUSBDevice& device) {
  return device.IsLightSynced() && device.CommandChannel().IsOpen();
}

}  // namespace

void LightSyncTargets::Add(devices::CNorvaneUSBDevice* device) {
  if (device == nullptr) return;
  const std::uint16_t kind = devices::PageKindCode(device->KindCode());
  std::lock_guard lock(mutex_);
  targets_.push_back(Target{device, kind});
}

void LightSyncTargets::CopyTo(std::vector<Target>& out) const {
  std::lock_guard lock(mutex_);
  out.assign(targets_.begin(), targets_.end());
}

std::size_t LightSyncTargets::Count() const {
  std::lock_guard lock(mutex_);
  return targets_.size();
}

LightSyncLoop::LightSyncLoop(const LightSyncShared& shared, Clock::TimePoint start) : shared_(shared) {
  state_.lastFlip = start;
}

bool LightSyncLoop::Wanted() {
  shared_.targets.CopyTo(pages_);
  bool headset = false;
  for (const LightSyncTargets::Target& page : pages_) {
    if (page.kind == kKeyboardKind || page.kind == kMouseKind || page.kind == kPadKind) {
      if (InSharedEffect(*page.device)) return true;
    } else if (page.kind == kHeadsetKind) {
      headset = headset || InSharedEffect(*page.device);
    }
  }
  return headset;
}

LightSyncLoop::Turn LightSyncLoop::OnTick(Clock::TimePoint now) {
  if (!Wanted()) return Turn::kIdle;
  const lighting::SharedEffect effect = shared_.effect.Load();
  if (++count_ < lighting::SharedEffectThreshold(effect.speed)) return Turn::kCounting;
  count_ = 0;
  lastWord_ = lighting::StepSharedEffect(state_, effect, now);
  for (const LightSyncTargets::Target& page : pages_) {
    if (page.kind == kKeyboardKind || page.kind == kMouseKind || page.kind == kPadKind || page.kind == kHeadsetKind)
      page.device->ShowSyncColour(lastWord_);
  }
  return Turn::kStepped;
}

void RunLightSync(const LightSyncShared& shared, const Clock& clock, lighting::Sleeper& sleeper,
                  std::stop_token stop) {
  LightSyncLoop loop(shared, clock.Now());
  Clock::TimePoint next = clock.Now();
  while (!stop.stop_requested()) {
    // A fixed schedule; after a stall (a suspended machine) it starts again from now.
    next += lighting::kLightingTick;
    if (clock.Now() - next > lighting::LightingTicker::kMaxCatchUpTicks * lighting::kLightingTick)
      next = clock.Now();
    if (!sleeper.SleepUntil(next, stop)) break;
    if (loop.OnTick(clock.Now()) == LightSyncLoop::Turn::kIdle) {
      if (!sleeper.SleepUntil(clock.Now() + kLightSyncRest, stop)) break;
      next = clock.Now();
    }
  }
}

std::unique_ptr<IWorker> StartLightSyncThread(std::shared_ptr<const LightSyncShared> shared, const Clock& clock,
                                              std::shared_ptr<lighting::Sleeper> sleeper) {
  if (!sleeper) sleeper = std::make_shared<lighting::StopTokenSleeper>();
  return StartThreadWorker("light sync", [shared, &clock, sleeper](std::stop_token stop) {
    RunLightSync(*shared, clock, *sleeper, stop);
  });
}

}  // namespace norvane::app
