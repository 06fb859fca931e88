#pragma once
// Someone types on the emulated keyboards now and then: in the demo mode a few keys at a time are pressed
// and released, as the keyboard's event reports (0x05pp pressed, 0x06pp released, pp the key's position in
// the keyboard's own key table), so that the key-reactive lighting shows something without hardware.
//
// Only the program's demo mode starts it; a test that wants it starts it itself. The keys and the pauses
// come from a seeded generator, so a seed gives the same typing every time.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "emulator/emulator.h"

namespace norvane::emulator {

struct TypingDemoOptions {
  std::uint32_t seed = 1;
  // Pause between two bursts of keys, and between a key's press and its release.
  std::chrono::milliseconds minPause{600};
  std::chrono::milliseconds maxPause{2400};
  std::chrono::milliseconds keyHold{90};
  int maxKeysPerBurst = 4;
};

class TypingDemo {
 public:
  TypingDemo(std::shared_ptr<EmulatorBackend> backend, TypingDemoOptions options = {});
  ~TypingDemo();  // stops at once
  TypingDemo(const TypingDemo&) = delete;
  TypingDemo& operator=(const TypingDemo&) = delete;

  // Key presses sent so far (for tests).
  int Presses() const;

 private:
  void Run();
  // Waits `pause` unless stopped meanwhile; false when stopped.
  bool Wait(std::chrono::milliseconds pause);

  std::shared_ptr<EmulatorBackend> backend_;
  TypingDemoOptions options_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  int presses_ = 0;
  std::thread thread_;
};

}  // namespace norvane::emulator
