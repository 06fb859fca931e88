#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "devices/lighting/keyboard/keyboard_lighting.h"
#include "devices/lighting/lighting_ticker.h"

namespace norvane::lighting {
namespace {

using namespace std::chrono_literals;

TEST(LightingTickerThread, RunsOnARealThreadAndStopsPromptly) {
  StopTokenSleeper sleeper;
  LightingTicker ticker(SteadyClock::Instance(), sleeper);
  std::atomic<int> ticks{0};
  std::jthread thread(
      [&](std::stop_token stop) { ticker.Run(stop, [&](std::uint64_t, Clock::TimePoint) { ++ticks; }); });
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (ticks < 5 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
  EXPECT_GE(ticks.load(), 5);

  const auto stopAt = std::chrono::steady_clock::now();
  thread.request_stop();
  thread.join();
  EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 200ms);
}

// The page's three threads at once: the lighting thread ticks, the event thread reports keys and the UI
// thread changes the mode and the per-key effects. Run under ThreadSanitizer.
TEST(KeyboardLightingThreads, TickKeyEventsAndModeChangesMayRunConcurrently) {
  DefaultRandomSource random(7);
  keyboard::KeyboardLighting lighting(random);
  std::vector<LedRecord> frame(keyboard::kLedSlots);
  std::array<std::uint8_t, keyboard::kLedSlots> positions{};
  for (std::size_t i = 0; i < positions.size(); ++i) positions[i] = static_cast<std::uint8_t>(i);
  LightParams live;
  live.mode = 9;
  live.speed = 4;
  live.brightness = 4;
  std::atomic<bool> done{false};

  std::jthread ticks([&] {
    for (int i = 0; i < 2000; ++i) lighting.Tick(live, frame, Clock::TimePoint{i * 15625us});
    done = true;
  });
  std::jthread keys([&] {
    for (std::uint8_t p = 0; !done; ++p) lighting.OnKeyEvent(9, positions, p, 1 + p % 2);
  });
  std::jthread ui([&] {
    for (int i = 0; !done; ++i) {
      lighting.SetPerKeyEffects(std::vector<PerLedEffect>(static_cast<std::size_t>(i % 3)));
      const std::array<std::int32_t, 3> bands = {1, 2, 3};
      lighting.FeedAudioBands(bands);
    }
  });
  ticks.join();
  keys.join();
  ui.join();
  EXPECT_TRUE(done);
}

}  // namespace
}  // namespace norvane::lighting
