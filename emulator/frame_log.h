#pragma once
// The log of command frames both ways. Not thread-safe on its own: the emulator core guards it.

#include <deque>
#include <vector>

#include "emulator/emulator.h"

namespace norvane::emulator {

class FrameLog {
 public:
  static constexpr size_t kCapacity = 100000;

  void Append(LoggedFrame frame);
  std::vector<LoggedFrame> Snapshot() const;
  void Clear();

 private:
  std::deque<LoggedFrame> frames_;
};

}  // namespace norvane::emulator
