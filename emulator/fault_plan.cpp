#include "emulator/fault_plan.h"

#include <algorithm>

namespace norvane::emulator {

void FaultPlan::Add(const FaultRule& rule) {
  rules_.push_back(ActiveRule{rule, 0});
}

void FaultPlan::Clear() {
  rules_.clear();
}

std::optional<FaultRule> FaultPlan::Next(uint8_t command) {
  std::optional<FaultRule> fired;
  for (ActiveRule& active : rules_) {
    if (active.rule.command && *active.rule.command != command) continue;
    if (active.rule.skip > 0) {
      --active.rule.skip;
      continue;
    }
    if (fired) continue;  // a frame shows one fault; later rules wait for their own frame
    fired = active.rule;
    ++active.hits;
  }
  // A rule that has hit its count is spent; times == 0 keeps it until cleared.
  std::erase_if(rules_, [](const ActiveRule& active) {
    return active.rule.times > 0 && active.hits >= active.rule.times;
  });
  return fired;
}

}  // namespace norvane::emulator
