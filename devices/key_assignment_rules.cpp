#include "devices/key_assignment_rules.h"

#include <algorithm>

namespace norvane::devices {

bool IsLastLeftButton(std::span<const KeyAssignment> keys, std::size_t key) {
  if (key >= keys.size() || keys[key].current != kLeftButtonFunction) return false;
  return std::count_if(keys.begin(), keys.end(),
                       [](const KeyAssignment& k) { return k.current == kLeftButtonFunction; }) == 1;
}

}  // namespace norvane::devices
