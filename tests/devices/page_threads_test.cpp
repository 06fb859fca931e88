#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "devices/coalescing_timer.h"
#include "devices/latest_job_worker.h"
#include "devices/usb_device.h"
#include "devices/worker_thread.h"
#include "test_support.h"

namespace norvane::devices {
namespace {

using namespace std::chrono_literals;
using emulator::DeviceModel;
using lighting::LedRecord;
using testing::InstalledEmulator;
using testing::QueuePoster;
using Steady = std::chrono::steady_clock;

constexpr uint16_t kKeyboardProduct = 0x5055;
constexpr uint16_t kConsumerPage = 0x000C;

// A page whose lighting runs the spectrum and that counts its resyncs.
class SpectrumPage : public CNorvaneUSBDevice {
 public:
  using CNorvaneUSBDevice::CNorvaneUSBDevice;
  ~SpectrumPage() override {
    StopLightingThread();
    CloseEventInterface(EventSide::kWired);
    CloseEventInterface(EventSide::kReceiver);
  }
  void Resync() override {
    ++resyncs;
    event_at_resync = TakeLastDeviceEvent();
  }
  std::atomic<int> ticks{0};
  int resyncs = 0;
  uint16_t event_at_resync = 0;

 protected:
  void ComputeFrame(Clock::TimePoint) override {
    ++ticks;
    FrameSpectrum();
  }
};

// A page whose frames feed its preview only, unless told that the device takes them too.
class PreviewOnlyPage : public SpectrumPage {
 public:
  using SpectrumPage::SpectrumPage;
  ~PreviewOnlyPage() override { StopLightingThread(); }
  bool FramesReachDevice() const override { return streams.load(); }
  void SetStreams(bool on) {
    streams = on;
    NotifyFrameDemand();
  }
  std::atomic<bool> streams{false};
};

// Moves a manual clock to each deadline at once, so the ticker runs as fast as the thread can.
class ManualSleeper : public lighting::Sleeper {
 public:
  explicit ManualSleeper(ManualClock& clock) : clock_(clock) {}
  bool SleepUntil(Clock::TimePoint deadline, std::stop_token stop) override {
    std::this_thread::sleep_for(100us);
    if (clock_.Now() < deadline) clock_.Set(deadline);
    return !stop.stop_requested();
  }

 private:
  ManualClock& clock_;
};

TEST(WorkerThreadTest, ABodyThatEndedOnItsOwnCanBeStartedAgain) {
  WorkerThread worker;
  std::atomic<int> runs{0};
  const auto once = [&](std::stop_token) { ++runs; };
  worker.Start("once", once);
  while (runs < 1) std::this_thread::yield();
  std::this_thread::sleep_for(10ms);
  worker.Start("once", once);
  worker.Stop(500ms);
  EXPECT_EQ(runs, 2);
}

TEST(CoalescingTimerTest, ArmingAgainMovesTheCallAndATimerThatGoesMakesNone) {
  // The delay is long next to the pause before arming again, so that a loaded machine that oversleeps the
  // pause still arms again well before the first call was due.
  constexpr auto kDelay = 200ms;
  std::atomic<int> calls{0};
  std::atomic<Steady::time_point> called_at{};
  {
    CoalescingTimer timer(kDelay, [&] {
      called_at = Steady::now();
      ++calls;
    });
    const auto first = Steady::now();
    timer.Arm();
    std::this_thread::sleep_for(30ms);
    const auto rearmed = Steady::now();
    if (rearmed - first > kDelay / 2) GTEST_SKIP() << "the machine paused this test longer than the timer's delay";
    timer.Arm();
    const auto deadline = Steady::now() + 5s;
    while (calls == 0 && Steady::now() < deadline) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(calls, 1);
    EXPECT_GE(called_at.load() - rearmed, kDelay);
    EXPECT_FALSE(timer.IsArmed());
    timer.Arm();
  }  // gone before its call was due
  std::this_thread::sleep_for(kDelay + 50ms);
  EXPECT_EQ(calls, 1);
}

// A job that comes while another runs waits; a newer one replaces it; the last always runs, also when the
// worker goes.
TEST(LatestJobWorkerTest, OneInFlightTheLatestWaitingAndTheLastAlwaysRun) {
  std::vector<int> ran;
  std::mutex ranMutex;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> started;
  {
    LatestJobWorker worker;
    worker.Submit([&] {
      started.set_value();
      released.wait();
      std::lock_guard lock(ranMutex);
      ran.push_back(1);
    });
    started.get_future().wait();
    for (int job = 2; job <= 5; ++job) {
      worker.Submit([&, job] {
        std::lock_guard lock(ranMutex);
        ran.push_back(job);
      });
    }
    EXPECT_FALSE(worker.IsIdle());
    release.set_value();
  }  // the waiting job runs before the worker is gone
  EXPECT_EQ(ran, (std::vector<int>{1, 5}));
}

TEST(PageLightingThread, TicksOnlyWhileTheChannelIsOpenAndNotPaused) {
  ManualClock clock;
  SpectrumPage page(PageServices{.clock = &clock});
  page.SetLedCount(10);
  page.LightingTick(clock.Now());
  EXPECT_EQ(page.ticks, 0);  // closed
  page.CommandChannel().SetOpen(true);
  page.SetAnimationPaused(true);
  page.LightingTick(clock.Now());
  EXPECT_EQ(page.ticks, 0);
  page.SetAnimationPaused(false);
  page.LightingTick(clock.Now());
  EXPECT_EQ(page.ticks, 1);
}

TEST(PageLightingThread, RunsOnTheInjectedClockAndStopsPromptly) {
  ManualClock clock;
  ManualSleeper sleeper(clock);
  SpectrumPage page(PageServices{.clock = &clock, .sleeper = &sleeper});
  page.SetLedCount(10);
  page.CommandChannel().SetOpen(true);
  page.StartLightingThread();
  const auto deadline = Steady::now() + 2s;
  while (page.ticks < 64 && Steady::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_GE(page.ticks, 64);
  const auto before = Steady::now();
  page.StopLightingThread();
  EXPECT_LT(Steady::now() - before, 500ms);
  EXPECT_FALSE(page.IsLightingThreadRunning());
}

// Nobody can see the preview and the device takes no frames: the thread computes nothing and waits without
// ticking, and starts again as soon as either changes (well before the wait's own second look).
TEST(PageLightingThread, RestsWhileNobodyWantsItsFramesAndStartsAgainAtOnce) {
  ManualClock clock;
  ManualSleeper sleeper(clock);
  PreviewOnlyPage page(PageServices{.clock = &clock, .sleeper = &sleeper});
  page.SetLedCount(10);
  page.CommandChannel().SetOpen(true);
  page.SetPreviewShown(false);
  page.LightingTick(clock.Now());
  EXPECT_EQ(page.ticks, 0) << "a frame for nobody";

  page.SetPreviewShown(true);
  page.StartLightingThread();
  const auto ticksWithin = [&](int above, std::chrono::milliseconds limit) {
    const auto deadline = Steady::now() + limit;
    while (page.ticks <= above && Steady::now() < deadline) std::this_thread::sleep_for(1ms);
    return page.ticks > above;
  };
  ASSERT_TRUE(ticksWithin(0, 1s));

  page.SetPreviewShown(false);
  std::this_thread::sleep_for(20ms);
  int resting = page.ticks;
  std::this_thread::sleep_for(100ms);
  EXPECT_LE(page.ticks, resting + 1) << "the manual sleeper would tick hundreds of times";
  page.SetPreviewShown(true);
  EXPECT_TRUE(ticksWithin(resting + 1, 100ms)) << "the preview shows again";

  page.SetPreviewShown(false);
  std::this_thread::sleep_for(20ms);
  resting = page.ticks;
  page.SetStreams(true);
  EXPECT_TRUE(ticksWithin(resting + 1, 100ms)) << "the device takes the frames";

  page.SetStreams(false);
  std::this_thread::sleep_for(20ms);
  const auto before = Steady::now();
  page.StopLightingThread();
  EXPECT_LT(Steady::now() - before, 100ms) << "a resting thread stops at once";
}

// The lighting thread writes whole frames while the UI thread presents: every presented frame is one
// spectrum step on all LEDs (ThreadSanitizer checks the guard itself).
TEST(PageLightingThread, PresentFrameNeverSeesAHalfWrittenFrame) {
  ManualClock clock;
  ManualSleeper sleeper(clock);
  SpectrumPage page(PageServices{.clock = &clock, .sleeper = &sleeper});
  page.SetLedCount(170);
  page.SetLightParams({.brightness = 4, .direction = 1});
  page.CommandChannel().SetOpen(true);
  page.StartLightingThread();
  const auto until = Steady::now() + 200ms;
  int presented = 0;
  while (Steady::now() < until) {
    ASSERT_TRUE(page.PresentFrame());
    const auto& frame = page.LastDeviceFrame();
    for (std::size_t led = 1; led < 170; ++led) {
      ASSERT_EQ(frame[3 * led], frame[0]);
      ASSERT_EQ(frame[3 * led + 1], frame[1]);
      ASSERT_EQ(frame[3 * led + 2], frame[2]);
    }
    ++presented;
  }
  page.StopLightingThread();
  EXPECT_GT(presented, 0);
  EXPECT_GT(page.ticks, 0);
}

class SyncThreadTest : public ::testing::Test {
 protected:
  InstalledEmulator emulator{{DeviceModel::kKeyboard}};
  QueuePoster poster;
  std::string EventPath() { return emulator.PathOf(kKeyboardProduct, kConsumerPage); }
};

TEST_F(SyncThreadTest, EventReportBecomesAResyncOnTheUiThread) {
  SpectrumPage page(PageServices{.poster = &poster});
  ASSERT_EQ(page.OpenEventInterface(EventPath(), EventSide::kWired), 1);
  EXPECT_TRUE(page.EventChannel().IsOpen());
  const auto keyboard = emulator.Device(DeviceModel::kKeyboard);

  ASSERT_TRUE(emulator.Backend().InjectEvent(keyboard, 0x0510));  // a key press: not the base's business
  ASSERT_TRUE(emulator.Backend().InjectEvent(keyboard, 0x0402));
  ASSERT_TRUE(poster.WaitForCall(2000));
  EXPECT_EQ(page.LastDeviceEvent(), 0x0402);
  EXPECT_EQ(page.resyncs, 0);  // nothing runs until the UI thread takes the call
  EXPECT_EQ(poster.RunAll(), 1);
  EXPECT_EQ(page.resyncs, 1);
  EXPECT_EQ(page.event_at_resync, 0x0402);
  EXPECT_EQ(page.LastDeviceEvent(), 0);
}

// Events that come together make one resync, 50 ms after the last; a 0x401 behind a 0x402 keeps the
// profile reload the 0x402 asked for.
TEST_F(SyncThreadTest, ABurstOfEventsBecomesOneResyncThatKeepsTheProfileReload) {
  SpectrumPage page(PageServices{.poster = &poster});
  ASSERT_EQ(page.OpenEventInterface(EventPath(), EventSide::kWired), 1);
  const auto keyboard = emulator.Device(DeviceModel::kKeyboard);
  const auto sent = Steady::now();
  for (const uint16_t code : {0x0401, 0x0402, 0x0401, 0x0401}) {
    ASSERT_TRUE(emulator.Backend().InjectEvent(keyboard, code));
  }
  ASSERT_TRUE(poster.WaitForCall(2000));
  EXPECT_GE(Steady::now() - sent, 50ms);
  EXPECT_EQ(page.LastDeviceEvent(), 0x0402);
  std::this_thread::sleep_for(150ms);  // time for any further call to arrive
  EXPECT_EQ(poster.RunAll(), 1);
  EXPECT_EQ(page.resyncs, 1);
  EXPECT_EQ(page.event_at_resync, 0x0402);

  // A later event is a new burst.
  ASSERT_TRUE(emulator.Backend().InjectEvent(keyboard, 0x0401));
  ASSERT_TRUE(poster.WaitForCall(2000));
  EXPECT_EQ(poster.RunAll(), 1);
  EXPECT_EQ(page.resyncs, 2);
  EXPECT_EQ(page.event_at_resync, 0) << "a plain resync";
}

TEST_F(SyncThreadTest, ClosingTheInterfaceStopsTheBlockedThreadPromptly) {
  SpectrumPage page(PageServices{.poster = &poster});
  ASSERT_EQ(page.OpenEventInterface(EventPath(), EventSide::kReceiver), 1);
  EXPECT_TRUE(page.EventChannel().IsWireless());
  std::this_thread::sleep_for(20ms);  // the thread is now blocked in its read
  const auto before = Steady::now();
  page.CloseEventInterface(EventSide::kReceiver);
  EXPECT_LT(Steady::now() - before, 500ms);
  EXPECT_FALSE(page.IsSyncThreadRunning(EventSide::kReceiver));
  EXPECT_FALSE(page.EventChannel().IsWireless());
}

TEST_F(SyncThreadTest, ReopeningReplacesTheThreadAndAFailedOpenLeavesNone) {
  SpectrumPage page(PageServices{.poster = &poster});
  const std::string path = EventPath();
  ASSERT_EQ(page.OpenEventInterface(path, EventSide::kWired), 1);
  ASSERT_EQ(page.OpenEventInterface(path, EventSide::kWired), 1);
  EXPECT_TRUE(page.IsSyncThreadRunning(EventSide::kWired));
  emulator.Backend().InjectEvent(emulator.Device(DeviceModel::kKeyboard), 0x0401);
  ASSERT_TRUE(poster.WaitForCall(2000));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(poster.RunAll(), 1);  // one reader, one call

  EXPECT_EQ(page.OpenEventInterface("/dev/hidraw99#vid_320f&pid_5055&mi_01&col03#x", EventSide::kWired), 0);
  EXPECT_FALSE(page.IsSyncThreadRunning(EventSide::kWired));
  EXPECT_FALSE(page.EventChannel().IsOpen());
}

TEST_F(SyncThreadTest, CatalogueEntriesPickTheirSide) {
  SpectrumPage page(PageServices{.poster = &poster});
  hid::InterfaceEntry receiver_events = hid::InterfaceTable()[3];  // keyboard receiver, event interface
  EXPECT_EQ(page.AttachEventInterface(receiver_events), 0);        // not claimed: no path
  receiver_events.path = EventPath();
  ASSERT_EQ(page.AttachEventInterface(receiver_events), 1);
  EXPECT_TRUE(page.IsSyncThreadRunning(EventSide::kReceiver));
  EXPECT_FALSE(page.IsSyncThreadRunning(EventSide::kWired));
  EXPECT_EQ(page.AttachEventInterface(hid::InterfaceTable()[2]), 0);  // a command entry is refused
  page.DetachEventInterface(receiver_events);
  EXPECT_FALSE(page.IsSyncThreadRunning(EventSide::kReceiver));
}

TEST_F(SyncThreadTest, AfterAnUnplugTheThreadStaysStoppable) {
  SpectrumPage page(PageServices{.poster = &poster});
  ASSERT_EQ(page.OpenEventInterface(EventPath(), EventSide::kWired), 1);
  emulator.Backend().Unplug(emulator.Device(DeviceModel::kKeyboard));
  std::this_thread::sleep_for(50ms);  // the read fails now; the thread must not spin or end on its own
  const auto before = Steady::now();
  page.CloseEventInterface(EventSide::kWired);
  EXPECT_LT(Steady::now() - before, 500ms);
}

TEST_F(SyncThreadTest, ACallPostedForAPageThatIsGoneDoesNothing) {
  {
    SpectrumPage page(PageServices{.poster = &poster});
    ASSERT_EQ(page.OpenEventInterface(EventPath(), EventSide::kWired), 1);
    emulator.Backend().InjectEvent(emulator.Device(DeviceModel::kKeyboard), 0x0401);
    ASSERT_TRUE(poster.WaitForCall(2000));
  }
  EXPECT_EQ(poster.RunAll(), 1);  // ran without touching the destroyed page (ASan would tell)
}

}  // namespace
}  // namespace norvane::devices
