#pragma once
// Devices may lose their lighting while the machine sleeps (their power goes, or they come back as new
// devices). While this program drives the lighting, each page's lighting from before the sleep is written
// to its device again after the wake-up, as soon as the device is reachable: retried every kRetry until it
// is taken or kGiveUp has passed. A page whose profile changed meanwhile, or whose lighting the user
// edited, keeps what it has now.
//
// UI thread only.

#include <QPointer>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <vector>

#include "devices/lighting/light_params.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::app {

class CResumeRelight {
 public:
  static constexpr std::chrono::milliseconds kRetry{500};
  static constexpr std::chrono::seconds kGiveUp{60};
  using PageList = std::function<std::vector<controls::CDevicePageUI*>()>;

  explicit CResumeRelight(PageList pages);

  // The system goes to sleep: every page's lighting is kept (a page still waiting from an earlier wake-up
  // keeps what it had then).
  void OnSuspend();
  // The system woke up and this program drives the lighting: the kept lighting goes back to the devices.
  void OnResume();
  // Another program has the lighting now, or the system woke without this program driving it: nothing is
  // written.
  void Cancel();
  // The user chose this page's lighting.
  void Forget(const controls::CDevicePageUI& page);
  [[nodiscard]] bool IsWaiting() const { return !kept_.empty(); }

 private:
  struct Kept {
    QPointer<controls::CDevicePageUI> page;
    std::filesystem::path profile;
    lighting::LightParams params;
  };
  void Retry();
  // True when the page is done with (written, or nothing more to do).
  bool Relight(const Kept& kept);

  PageList pages_;
  std::vector<Kept> kept_;
  QTimer timer_;
  std::chrono::steady_clock::time_point resumedAt_;
};

}  // namespace norvane::app
