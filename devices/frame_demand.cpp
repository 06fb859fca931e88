#include "devices/frame_demand.h"

namespace norvane::devices {

void FrameDemand::Notify() {
  {
    std::lock_guard lock(mutex_);
    ++notifications_;
  }
  changed_.notify_all();
}

bool FrameDemand::WaitUntilWanted(std::stop_token stop, const std::function<bool()>& wanted) {
  std::unique_lock lock(mutex_);
  while (!wanted()) {
    const std::uint64_t seen = notifications_;
    changed_.wait_for(lock, stop, kRecheck, [&] { return notifications_ != seen; });
    if (stop.stop_requested()) return false;
  }
  return !stop.stop_requested();
}

}  // namespace norvane::devices
