#include "platform/clock.h"

namespace norvane {

SteadyClock& SteadyClock::Instance() {
  static SteadyClock clock;
  return clock;
}

}  // namespace norvane
