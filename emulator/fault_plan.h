#pragma once
// The faults a test has asked one device to show, matched against the command frames written to it.

#include <cstdint>
#include <optional>
#include <vector>

#include "emulator/emulator.h"

namespace norvane::emulator {

class FaultPlan {
 public:
  void Add(const FaultRule& rule);
  void Clear();

  // The fault to apply to the next frame written, which carries `command`; counts the frame against every
  // rule it matches. The first rule (in the order added) that fires wins.
  std::optional<FaultRule> Next(uint8_t command);

 private:
  struct ActiveRule {
    FaultRule rule;
    int hits = 0;
  };
  std::vector<ActiveRule> rules_;
};

}  // namespace norvane::emulator
