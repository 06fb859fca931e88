#pragma once
// The one effect all synchronised devices show: written by the UI thread when the user applies an effect
// to every device, read by the lighting synchronisation thread. The whole record changes under one lock, so
// the reader never sees half of an update.

#include <cstdint>
#include <mutex>

namespace norvane::lighting {

struct SharedEffect {
  // 0 breathing, 1 static, 2 flash, 3 spectrum, 4 off.
  std::uint8_t type = 0;
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t direction = 0;
  std::uint8_t multiColour = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const SharedEffect&, const SharedEffect&) = default;
};

class SharedLightEffect {
 public:
  void Store(const SharedEffect& effect) {
    std::lock_guard lock(mutex_);
    effect_ = effect;
  }
  [[nodiscard]] SharedEffect Load() const {
    std::lock_guard lock(mutex_);
    return effect_;
  }

 private:
  mutable std::mutex mutex_;
  SharedEffect effect_;
};

}  // namespace norvane::lighting
