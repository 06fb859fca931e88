// Time per frame of each lighting generator and keyboard mode, for a full keyboard frame of 170 LEDs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "devices/lighting/custom_step_player.h"
#include "devices/lighting/device_frame.h"
#include "devices/lighting/generic_generators.h"
#include "devices/lighting/keyboard/keyboard_lighting.h"
#include "devices/lighting/keyboard/keyboard_modes.h"
#include "devices/lighting/keyboard/mode_startup.h"
#include "devices/lighting/strip_lighting.h"

namespace {

using namespace norvane;
using namespace norvane::lighting;
using namespace std::chrono_literals;

constexpr std::size_t kLeds = 170;

LightParams Params(std::uint8_t mode, bool multi) {
  LightParams p;
  p.mode = mode;
  p.brightness = 3;
  p.speed = 4;
  p.direction = 1;
  p.multiColour = multi ? 1 : 0;
  p.red = 200;
  p.green = 90;
  p.blue = 30;
  return p;
}

void BM_GenericBreathing(benchmark::State& s) {
  GenericAnimation anim;
  std::vector<LedRecord> frame(kLeds);
  const LightParams p = Params(6, true);
  for (auto _ : s) {
    FrameBreathing(anim, p, frame);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericBreathing);

void BM_GenericBreathingCycle(benchmark::State& s) {
  GenericAnimation anim;
  std::vector<LedRecord> frame(kLeds);
  const LightParams p = Params(26, false);
  for (auto _ : s) {
    FrameBreathingCycle(anim, p, frame);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericBreathingCycle);

void BM_GenericStatic(benchmark::State& s) {
  std::vector<LedRecord> frame(kLeds);
  const LightParams p = Params(5, false);
  for (auto _ : s) {
    FrameStatic(p, frame);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericStatic);

void BM_GenericSpectrum(benchmark::State& s) {
  GenericAnimation anim;
  std::vector<LedRecord> frame(kLeds);
  const LightParams p = Params(40, false);
  for (auto _ : s) {
    FrameSpectrum(anim, p, frame);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericSpectrum);

void BM_GenericFlash(benchmark::State& s) {
  GenericAnimation anim;
  std::vector<LedRecord> frame(kLeds);
  const LightParams p = Params(23, true);
  Clock::TimePoint now{};
  for (auto _ : s) {
    FrameFlash(anim, p, frame, now += 100ms);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericFlash);

void BM_GenericFlashCycle(benchmark::State& s) {
  GenericAnimation anim;
  std::vector<LedRecord> frame(kLeds);
  const LightParams p = Params(27, false);
  Clock::TimePoint now{};
  for (auto _ : s) {
    FrameFlashCycle(anim, p, frame, now += 100ms);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericFlashCycle);

void BM_GenericOff(benchmark::State& s) {
  std::vector<LedRecord> frame(kLeds);
  for (auto _ : s) {
    FrameOff(frame);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_GenericOff);

// One custom light list step of each playable mode (argument: the step's mode).
void BM_CustomStep(benchmark::State& s) {
  CustomStepPlayer player;
  LightStep step;
  step.mode = static_cast<std::uint8_t>(s.range(0));
  step.brightness = 4;
  step.speed = 4;
  step.multiColour = 1;
  step.timeMs = 1000;
  player.SetSteps({step});
  std::vector<LedRecord> frame(kLeds);
  Clock::TimePoint now{};
  for (auto _ : s) {
    player.PlayTick(frame, now += 15625us, 2);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_CustomStep)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(5);

// One frame of a keyboard mode (argument: the mode), multi-colour where the mode has it.
void BM_KeyboardMode(benchmark::State& s) {
  const auto mode = static_cast<std::uint8_t>(s.range(0));
  DefaultRandomSource random(1);
  keyboard::KeyboardLightState state;
  std::vector<LedRecord> frame(kLeds);
  keyboard::StartKeyboardMode(state, mode, frame);
  const LightParams p = Params(mode, true);
  Clock::TimePoint now{};
  for (auto _ : s) {
    keyboard::RenderKeyboardFrame(state, keyboard::FrameInputs{p, now += 15625us, random}, frame);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_KeyboardMode)
    ->DenseRange(1, 10)
    ->DenseRange(13, 24)
    ->DenseRange(26, 28)
    ->Arg(30)
    ->DenseRange(40, 45);

// A whole lighting tick of the keyboard page: render, custom steps off, per-key effects on every LED.
void BM_KeyboardTickWithOverlay(benchmark::State& s) {
  DefaultRandomSource random(1);
  keyboard::KeyboardLighting lighting(random);
  std::vector<LedRecord> frame(kLeds);
  PerLedEffect breathe;
  breathe.enabled = 1;
  breathe.brightness = 4;
  lighting.SetPerKeyEffects(std::vector<PerLedEffect>(kLeds, breathe));
  const LightParams p = Params(1, true);
  lighting.StartMode(p.mode, frame);
  Clock::TimePoint now{};
  for (auto _ : s) {
    lighting.Tick(p, frame, now += 15625us);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_KeyboardTickWithOverlay);

// One tick of the mouse pad and headset engine in each built-in mode (argument: the mode), on 16 LEDs.
void BM_StripMode(benchmark::State& s) {
  StripLighting lighting(StripKind::Headset);
  lighting.StartMode();
  std::vector<LedRecord> frame(16);
  LightParams p = Params(static_cast<std::uint8_t>(s.range(0)), true);
  p.speed = 200;  // clamped to the fastest: a frame every 7 ticks, so time 7 ticks per iteration
  Clock::TimePoint now{};
  for (auto _ : s) {
    for (int i = 0; i < 7; ++i) lighting.Tick(p, frame, now += 15625us);
    benchmark::DoNotOptimize(frame.data());
  }
}
BENCHMARK(BM_StripMode)->DenseRange(0, 4)->DenseRange(6, 8);

void BM_DeviceFrames(benchmark::State& s) {
  std::vector<LedRecord> frame(kLeds, LedRecord{200, 100, 50, 180, 0});
  std::vector<std::uint8_t> positions(kLeds);
  for (std::size_t i = 0; i < kLeds; ++i) positions[i] = static_cast<std::uint8_t>(i);
  for (auto _ : s) {
    benchmark::DoNotOptimize(BuildDeviceFrame(frame));
    benchmark::DoNotOptimize(BuildKeyboardDeviceFrame(frame, positions));
  }
}
BENCHMARK(BM_DeviceFrames);

}  // namespace

BENCHMARK_MAIN();
