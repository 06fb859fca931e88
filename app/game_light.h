#pragma once
// Game events: a game program asks for a lighting effect on the current device page for a few seconds
// ("Game_Start", "Game_End", "Game_Kill", "Game_Death", wParam 0, 1 or 2, lParam the effect). The window
// restarts its 5 s restore timer on every game message; when it fires, each page shows its own effect
// again.
//
// The user's lighting is never lost to a game: at a page's first event of a burst its light parameters and
// its shared-effect flag are kept, tied to that page and its profile file. The game's effect goes to the
// device and the view only; the profile document keeps the user's lighting, so a save meanwhile (a key
// edit) stores the user's. The kept effect comes back on that page when the timer fires, or before its
// profile is switched or the program ends; an edit of that page's lighting meanwhile stands instead.
//
// Effects from other programs are checked: a mode the page's mode table lacks, a brightness or speed above
// 4 or a direction other than 0 or 1 is refused (traced). A flood of events is applied at most every
// kApplySpacing, the latest one last.
//
// UI thread only.

#include <QTimer>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include <QPointer>

#include "devices/lighting/light_params.h"
#include "platform/clock.h"
#include "profiles/profile_records.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

// The first 32-bit word of the light parameters: mode | brightness << 8 | speed << 16 | direction << 24.
[[nodiscard]] std::uint32_t LightWord(const lighting::LightParams& p);
// wParam 0 replaces the whole word by lParam; 1 and 2 replace only its low byte (the mode) by lParam's.
[[nodiscard]] std::uint32_t GameLightWord(std::uint32_t word, std::uint64_t wParam, std::int64_t lParam);
// The parameters with the game's word, or nothing when the page cannot show it: a mode at or beyond
// `modeCount`, brightness or speed above 4, a direction above 1.
[[nodiscard]] std::optional<lighting::LightParams> GameLightParams(const lighting::LightParams& current,
                                                                   std::uint32_t word, std::size_t modeCount);

class CGameLight {
 public:
  static constexpr std::chrono::milliseconds kApplySpacing{50};
  using PageSource = std::function<controls::CDevicePageUI*()>;

  explicit CGameLight(PageSource currentPage, const Clock& clock = SteadyClock::Instance());
  ~CGameLight();
  CGameLight(const CGameLight&) = delete;
  CGameLight& operator=(const CGameLight&) = delete;

  // A game event with wParam 0, 1 or 2 for the current page.
  void OnGameEvent(std::uint64_t wParam, std::int64_t lParam);
  // The restore timer fired: every kept page shows its own effect again.
  void RestoreAll();
  // This page's own effect comes back now (its profile is about to be switched or saved by another path).
  void Restore(controls::CDevicePageUI& page);
  // The user changed this page's lighting: that is its effect now.
  void Forget(const controls::CDevicePageUI& page);
  [[nodiscard]] bool IsKept(const controls::CDevicePageUI& page) const;

 private:
  struct Kept {
    QPointer<controls::CDevicePageUI> page;
    std::filesystem::path profile;
    lighting::LightParams params;
    LightEffect profileLight;
    bool synced = false;
  };
  void Apply(std::uint64_t wParam, std::int64_t lParam);
  void RestoreKept(const Kept& kept);
  Kept* Find(const controls::CDevicePageUI& page);

  PageSource currentPage_;
  const Clock& clock_;
  std::vector<Kept> kept_;
  QTimer applyTimer_;
  std::optional<std::pair<std::uint64_t, std::int64_t>> pending_;
  std::optional<Clock::TimePoint> lastApply_;
};

}  // namespace norvane::app
