#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "emulator/emulator.h"
#include "hid/catalogue/device_scanner.h"
#include "hid/hid_device.h"

namespace norvane::hid::catalogue {
namespace {

using namespace std::chrono_literals;
using emulator::DeviceModel;
using Steady = std::chrono::steady_clock;

// Forwards to the emulator; can fail enumerations and spoil one node's report descriptor.
class WrappedBackend : public HidBackend {
 public:
  explicit WrappedBackend(std::shared_ptr<emulator::EmulatorBackend> inner) : inner_(std::move(inner)) {}
  std::optional<std::vector<HidNodeInfo>> Enumerate() override {
    ++enumerations;
    if (failures_left > 0) {
      --failures_left;
      return std::nullopt;
    }
    auto nodes = inner_->Enumerate();
    if (nodes) {
      for (HidNodeInfo& node : *nodes) {
        if (node.node_id == spoiled_node) node.report_descriptor = {0xA1, 0x01, 0xC0, 0xC0, 0x85};
      }
    }
    return nodes;
  }
  std::unique_ptr<HidNodeConnection> Open(const std::string& node_id, const HidNodeInfo* expected,
                                          OpenError& error) override {
    return inner_->Open(node_id, expected, error);
  }
  std::unique_ptr<HotplugSubscription> WatchHotplug(std::function<void()> on_change) override {
    return inner_->WatchHotplug([this, on_change = std::move(on_change)] {
      if (!hotplug_muted) on_change();
    });
  }

  std::atomic<int> enumerations{0};
  std::atomic<int> failures_left{0};
  // Changes nobody hears of, as while the system sleeps.
  std::atomic<bool> hotplug_muted{false};
  std::string spoiled_node;

 private:
  std::shared_ptr<emulator::EmulatorBackend> inner_;
};

struct Event {
  bool found = false;
  std::size_t index = 0;
  Steady::time_point at;
};

class RecordingListener : public ScanListener {
 public:
  bool InterfaceFound(std::size_t index, std::stop_token stop) override { return Record(true, index, stop); }
  bool InterfaceLost(std::size_t index, std::stop_token stop) override { return Record(false, index, stop); }
  void FirstPassDone() override {
    std::lock_guard lock(mutex_);
    ++first_passes_;
    changed_.notify_all();
  }

  // Waits until an event of that kind for that entry arrived after `since`; its time, or nullopt.
  std::optional<Steady::time_point> WaitFor(bool found, std::size_t index, Steady::time_point since,
                                            std::chrono::milliseconds limit = 2000ms) {
    std::unique_lock lock(mutex_);
    std::optional<Steady::time_point> at;
    changed_.wait_for(lock, limit, [&] {
      for (const Event& e : events_) {
        if (e.found == found && e.index == index && e.at >= since) at = e.at;
      }
      return at.has_value();
    });
    return at;
  }
  bool WaitFirstPass() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 2000ms, [&] { return first_passes_ > 0; });
  }
  int FirstPasses() {
    std::lock_guard lock(mutex_);
    return first_passes_;
  }
  std::vector<std::size_t> FoundIndexes() {
    std::lock_guard lock(mutex_);
    std::vector<std::size_t> out;
    for (const Event& e : events_) {
      if (e.found) out.push_back(e.index);
    }
    return out;
  }

  // While set, InterfaceFound blocks until the scanner is told to stop.
  std::atomic<bool> block_found{false};
  std::atomic<bool> blocked{false};

 private:
  bool Record(bool found, std::size_t index, std::stop_token stop) {
    {
      std::lock_guard lock(mutex_);
      events_.push_back({found, index, Steady::now()});
      changed_.notify_all();
    }
    if (found && block_found) {
      blocked = true;
      std::mutex m;
      std::condition_variable_any cv;
      std::unique_lock lock(m);
      cv.wait(lock, stop, [] { return false; });
      return false;
    }
    return true;
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
  int first_passes_ = 0;
};

class ScannerTest : public ::testing::Test {
 protected:
  void Install(std::vector<DeviceModel> models) {
    emulator_ = std::make_shared<emulator::EmulatorBackend>(models);
    backend_ = std::make_shared<WrappedBackend>(emulator_);
    previous_ = SetActiveHidBackend(backend_);
  }
  void TearDown() override {
    scanner_.reset();
    if (backend_) SetActiveHidBackend(previous_);
  }
  DeviceScanner& Scanner() {
    if (!scanner_) scanner_ = std::make_unique<DeviceScanner>(listener_);
    return *scanner_;
  }

  std::shared_ptr<emulator::EmulatorBackend> emulator_;
  std::shared_ptr<WrappedBackend> backend_;
  std::shared_ptr<HidBackend> previous_;
  RecordingListener listener_;
  std::unique_ptr<DeviceScanner> scanner_;
};

constexpr std::size_t kKeyboardCommand = 0;
constexpr std::size_t kKeyboardEvent = 1;
constexpr std::size_t kMouseCommand = 4;
constexpr std::size_t kMouseEvent = 5;

TEST_F(ScannerTest, FirstPassClaimsPresentDevicesAndReportsOnce) {
  Install({DeviceModel::kKeyboard, DeviceModel::kMouse});
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  const auto found = listener_.FoundIndexes();
  EXPECT_EQ(found, (std::vector<std::size_t>{kKeyboardEvent, kKeyboardCommand, kMouseEvent, kMouseCommand}));
  const auto entry = Scanner().Entry(kKeyboardCommand);
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->claimed);
  EXPECT_NE(entry->path.find("col04"), std::string::npos);
  std::this_thread::sleep_for(250ms);
  EXPECT_EQ(listener_.FirstPasses(), 1);
}

TEST_F(ScannerTest, ArrivalAndRemovalAreSeenWithin100ms) {
  Install({DeviceModel::kKeyboard, DeviceModel::kMouse});
  const auto mouse = *emulator_->FindDevice(DeviceModel::kMouse);
  emulator_->Unplug(mouse);
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  std::this_thread::sleep_for(150ms);  // let the scanner settle into idle

  auto plugged_at = Steady::now();
  emulator_->Plug(mouse);
  auto seen = listener_.WaitFor(true, kMouseCommand, plugged_at);
  ASSERT_TRUE(seen);
  EXPECT_LT(*seen - plugged_at, 100ms);

  std::this_thread::sleep_for(150ms);
  const auto unplugged_at = Steady::now();
  emulator_->Unplug(mouse);
  seen = listener_.WaitFor(false, kMouseCommand, unplugged_at);
  ASSERT_TRUE(seen);
  EXPECT_LT(*seen - unplugged_at, 100ms);
  EXPECT_FALSE(Scanner().Entry(kMouseCommand)->claimed);
  EXPECT_TRUE(Scanner().Entry(kMouseCommand)->path.empty());
  EXPECT_TRUE(Scanner().Entry(kKeyboardCommand)->claimed);
}

TEST_F(ScannerTest, ReplugReusesTheEntryWithTheNewPath) {
  Install({DeviceModel::kKeyboard});
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  const std::string old_path = Scanner().Entry(kKeyboardCommand)->path;
  const auto keyboard = *emulator_->FindDevice(DeviceModel::kKeyboard);
  const auto since = Steady::now();
  emulator_->Unplug(keyboard);
  ASSERT_TRUE(listener_.WaitFor(false, kKeyboardCommand, since));
  emulator_->Plug(keyboard, emulator::NodeNumbering::kFresh);
  ASSERT_TRUE(listener_.WaitFor(true, kKeyboardCommand, since));
  const auto entry = Scanner().Entry(kKeyboardCommand);
  EXPECT_TRUE(entry->claimed);
  EXPECT_NE(entry->path, old_path);
}

// The keyboard's command interface held open as a device page holds it; the keyboard is unplugged and
// plugged back (same node number) while no hotplug notification arrives.
class ReplugUnheardTest : public ScannerTest {
 protected:
  void SetUp() override {
    Install({DeviceModel::kKeyboard});
    Scanner().Start();
    ASSERT_TRUE(listener_.WaitFirstPass());
    path_ = Scanner().Entry(kKeyboardCommand)->path;
    ASSERT_NE(held_.Open(path_, true, true, false, false), 0);
  }
  void ReplugUnheard() {
    backend_->hotplug_muted = true;
    const auto keyboard = *emulator_->FindDevice(DeviceModel::kKeyboard);
    emulator_->Unplug(keyboard);
    emulator_->Plug(keyboard);
    backend_->hotplug_muted = false;
  }
  // The held handle is dead: a write fails once its node's reader has seen the device go.
  bool HeldHandleDies() {
    const auto deadline = Steady::now() + 2s;
    std::vector<uint8_t> report(65, 0);
    report[0] = 4;
    while (Steady::now() < deadline) {
      uint32_t written = 0;
      if (held_.WriteReport(report, &written, 100) == 0) return true;
      std::this_thread::sleep_for(5ms);
    }
    return false;
  }

  std::string path_;
  HidDevice held_;
};

TEST_F(ReplugUnheardTest, WhileTheScannerWasStoppedTheHeldInterfaceIsLostAndFoundAgain) {
  Scanner().Stop();
  ReplugUnheard();
  ASSERT_TRUE(HeldHandleDies());
  const auto since = Steady::now();
  Scanner().Start();
  const auto lost = listener_.WaitFor(false, kKeyboardCommand, since);
  ASSERT_TRUE(lost) << "the old path opens again, but the page's handle is dead";
  held_.Close();
  const auto found = listener_.WaitFor(true, kKeyboardCommand, *lost);
  ASSERT_TRUE(found);
  EXPECT_EQ(Scanner().Entry(kKeyboardCommand)->path, path_);
  HidDevice fresh;
  EXPECT_NE(fresh.Open(path_, true, true, false, false), 0);
}

TEST_F(ReplugUnheardTest, WhileTheScannerIdlesTheNodesEndWakesIt) {
  std::this_thread::sleep_for(150ms);  // let the scanner settle into idle
  const auto since = Steady::now();
  ReplugUnheard();
  EXPECT_TRUE(listener_.WaitFor(false, kKeyboardCommand, since));
  held_.Close();
  EXPECT_TRUE(listener_.WaitFor(true, kKeyboardCommand, since));
}

TEST_F(ScannerTest, SecondIdenticalMouseIsIgnoredUntilTheFirstGoes) {
  Install({DeviceModel::kMouse, DeviceModel::kMouse});
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  EXPECT_EQ(listener_.FoundIndexes(), (std::vector<std::size_t>{kMouseEvent, kMouseCommand}));
  const std::string first_path = Scanner().Entry(kMouseCommand)->path;

  const auto since = Steady::now();
  emulator_->Unplug(*emulator_->FindDevice(DeviceModel::kMouse, 0));
  ASSERT_TRUE(listener_.WaitFor(false, kMouseCommand, since));
  // The freed entry goes to the mouse still plugged in.
  ASSERT_TRUE(listener_.WaitFor(true, kMouseCommand, since));
  EXPECT_NE(Scanner().Entry(kMouseCommand)->path, first_path);
}

TEST_F(ScannerTest, IdleScannerDoesNotEnumerate) {
  Install({DeviceModel::kKeyboard, DeviceModel::kMouse});
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  std::this_thread::sleep_for(300ms);
  const int settled = backend_->enumerations.load();
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(backend_->enumerations.load(), settled);
}

TEST_F(ScannerTest, FailedFirstEnumerationStillReportsTheFirstPassAndIsRetried) {
  Install({DeviceModel::kKeyboard});
  backend_->failures_left = 2;
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  EXPECT_TRUE(listener_.WaitFor(true, kKeyboardCommand, Steady::time_point{}));
  EXPECT_EQ(listener_.FirstPasses(), 1);
}

TEST_F(ScannerTest, InterfaceWithAMalformedDescriptorIsSkipped) {
  Install({DeviceModel::kKeyboard, DeviceModel::kMouse});
  backend_->spoiled_node = *emulator_->CommandNodeId(*emulator_->FindDevice(DeviceModel::kMouse));
  Scanner().Start();
  ASSERT_TRUE(listener_.WaitFirstPass());
  EXPECT_EQ(listener_.FoundIndexes(), (std::vector<std::size_t>{kKeyboardEvent, kKeyboardCommand}));
}

TEST_F(ScannerTest, StopReleasesAListenerThatBlocks) {
  Install({DeviceModel::kKeyboard});
  listener_.block_found = true;
  Scanner().Start();
  const auto deadline = Steady::now() + 2s;
  while (!listener_.blocked && Steady::now() < deadline) std::this_thread::sleep_for(1ms);
  ASSERT_TRUE(listener_.blocked);
  const auto before = Steady::now();
  Scanner().Stop();
  EXPECT_LT(Steady::now() - before, 500ms);
  EXPECT_FALSE(Scanner().IsRunning());
  EXPECT_EQ(listener_.FirstPasses(), 1);
}

}  // namespace
}  // namespace norvane::hid::catalogue
