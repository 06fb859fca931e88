#pragma once
// The lighting synchronisation: while any device page is in the shared effect (the lighting editor's "same
// mode"), one thread steps that effect and gives every page its colour, so all devices show it in step.
//
// The thread counts the 15.625 ms lighting ticks; each time the count reaches the threshold of the shared
// speed level it steps the effect once (lighting::StepSharedEffect) and hands the colour word to every
// keyboard, mouse, mouse pad and headset page. While no page wants it, it looks again once a second.
//
// The pages it serves are appended on the UI thread while it runs; it reads them as a copy taken under
// their lock. Pages leave only at shutdown, after the thread has stopped.

#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

#include "app/worker_slots.h"
#include "devices/lighting/lighting_ticker.h"
#include "devices/lighting/shared_effect_stepper.h"
#include "devices/lighting/shared_light_effect.h"
#include "platform/clock.h"

namespace norvane::devices {
class CNorvaneUSBDevice;
}

namespace norvane::app {

class LightSyncTargets {
 public:
  struct Target {
    devices::CNorvaneUSBDevice* device = nullptr;
    // The page's kind (1 keyboard, 2 mouse, 3 mouse pad, 7 headset), taken once: the device's own kind code
    // changes with its link on the UI thread.
    std::uint16_t kind = 0;
  };
  // UI thread: a page was created.
  void Add(devices::CNorvaneUSBDevice* device);
  // Any thread: the pages as they are now, into `out` (its storage is reused).
  void CopyTo(std::vector<Target>& out) const;
  std::size_t Count() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Target> targets_;
};

// What the synchronisation thread shares with the window; held by both, so that a thread left running past
// its stop bound never reads freed memory.
struct LightSyncShared {
  LightSyncTargets targets;
  lighting::SharedLightEffect effect;
};

// The thread's work per tick, steppable with any clock.
class LightSyncLoop {
 public:
  enum class Turn {
    kIdle,      // no page wants the shared effect: rest a second
    kCounting,  // a tick counted, the threshold not reached yet
    kStepped,   // the effect stepped and its colour went to the pages
  };

  LightSyncLoop(const LightSyncShared& shared, Clock::TimePoint start);

  // Synchronisation is wanted while a mouse, keyboard or mouse pad page with an open channel is in the
  // shared effect, or, failing those, a headset page is.
  bool Wanted();
  // One lighting tick.
  Turn OnTick(Clock::TimePoint now);
  // The colour word of the last step (0 before the first).
  std::uint32_t LastWord() const { return lastWord_; }

 private:
  const LightSyncShared& shared_;
  std::vector<LightSyncTargets::Target> pages_;
  lighting::SharedEffectState state_;
  int count_ = 0;
  std::uint32_t lastWord_ = 0;
};

// How long the thread rests while no page wants the shared effect.
inline constexpr std::chrono::milliseconds kLightSyncRest{1000};

// The thread's body: until stop is requested.
void RunLightSync(const LightSyncShared& shared, const Clock& clock, lighting::Sleeper& sleeper,
                  std::stop_token stop);

// Starts the thread (worker slot 8). `sleeper` null: it sleeps against the steady clock, woken at once by a
// stop request.
std::unique_ptr<IWorker> StartLightSyncThread(std::shared_ptr<const LightSyncShared> shared,
                                              const Clock& clock = SteadyClock::Instance(),
                                              std::shared_ptr<lighting::Sleeper> sleeper = nullptr);

}  // namespace norvane::app
