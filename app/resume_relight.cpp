#include "app/resume_relight.h"

#include <algorithm>

#include "app/page_lighting.h"
#include "controls/pages/device_page.h"
#include "platform/trace.h"
#include "profiles/basic_profiledata.h"

namespace norvane::app {

namespace {

// A page that has not read its device yet holds no lighting of the user's, only defaults: writing those
// after the wake-up would wipe what the device shows.
bool HoldsUsersLighting(devices::CNorvaneUSBDevice& device) {
  const CBasicProfiledata* document = device.ProfileDocument();
  return !document || !document->GetFilePath().empty();
}

}  // namespace

CResumeRelight::CResumeRelight(PageList pages) : pages_(std::move(pages)) {
  timer_.setInterval(kRetry);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Retry(); });
}

void CResumeRelight::OnSuspend() {
  timer_.stop();
  if (!pages_) return;
  for (controls::CDevicePageUI* page : pages_()) {
    if (!page || !page->Device() || !HoldsUsersLighting(*page->Device())) continue;
    const bool waiting =
        std::any_of(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.page == page; });
    if (!waiting)
      kept_.push_back(Kept{page, page->Device()->CurrentProfileFile(), page->Device()->GetLightParams()});
  }
}

void CResumeRelight::OnResume() {
  if (kept_.empty()) return;
  resumedAt_ = std::chrono::steady_clock::now();
  Retry();
  if (!kept_.empty()) timer_.start();
}

void CResumeRelight::Cancel() {
  timer_.stop();
  kept_.clear();
}

void CResumeRelight::Forget(const controls::CDevicePageUI& page) {
  std::erase_if(kept_, [&](const Kept& k) { return k.page == &page; });
  if (kept_.empty()) timer_.stop();
}

void CResumeRelight::Retry() {
  std::erase_if(kept_, [this](const Kept& k) { return Relight(k); });
  if (kept_.empty()) {
    timer_.stop();
  } else if (std::chrono::steady_clock::now() - resumedAt_ > kGiveUp) {
    Trace("resume: " + std::to_string(kept_.size()) +
          " device(s) did not come back; their lighting stays as it is");
    Cancel();
  }
}

bool CResumeRelight::Relight(const Kept& kept) {
  controls::CDevicePageUI* page = kept.page.data();
  if (!page || !page->Device()) return true;
  devices::CNorvaneUSBDevice& device = *page->Device();
  if (device.CurrentProfileFile() != kept.profile) return true;
  if (!page->IsChannelOpen()) return false;
  ShowLightParams(*page, kept.params);
  // What a device that came back as new read from its factory lighting is replaced in the profile too.
  device.SaveProfile();
  const int result = WriteDeviceLighting(*page);
  if (result != 1)
    Trace("resume: the lighting was not written yet (" + std::to_string(result) + "); trying again");
  return result == 1;
}

}  // namespace norvane::app
