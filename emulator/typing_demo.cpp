#include "emulator/typing_demo.h"

#include <random>
#include <vector>

namespace norvane::emulator {

namespace {

constexpr std::uint16_t kPressed = 0x0500;
constexpr std::uint16_t kReleased = 0x0600;
constexpr std::size_t kPositions = 0x100;  // a position is one byte of the event code

// The positions that hold a key in the keyboard's key table (3 bytes per position, all zero where none).
std::vector<std::uint8_t> KeyPositions(const EmulatorBackend& backend, DeviceId keyboard) {
  const std::vector<std::uint8_t> table = backend.ReadMemory(keyboard, MemoryArea::kKeyTable, 0, 3 * kPositions);
  std::vector<std::uint8_t> positions;
  for (std::size_t p = 0; p + 2 < table.size(); p += 3) {
    if (table[p] != 0 || table[p + 1] != 0 || table[p + 2] != 0) positions.push_back(std::uint8_t(p / 3));
  }
  return positions;
}

std::vector<DeviceId> Keyboards(const EmulatorBackend& backend) {
  std::vector<DeviceId> keyboards;
  for (DeviceId device = 0; device < DeviceId(backend.DeviceCount()); ++device) {
    const DeviceModel model = backend.ModelOf(device);
    if (model == DeviceModel::kKeyboard || model == DeviceModel::kKeyboardReceiver) keyboards.push_back(device);
  }
  return keyboards;
}

}  // namespace

TypingDemo::TypingDemo(std::shared_ptr<EmulatorBackend> backend, TypingDemoOptions options)
    : backend_(std::move(backend)), options_(options) {
  if (backend_ && !Keyboards(*backend_).empty()) thread_ = std::thread([this] { Run(); });
}

TypingDemo::~TypingDemo() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

int TypingDemo::Presses() const {
  std::lock_guard lock(mutex_);
  return presses_;
}

bool TypingDemo::Wait(std::chrono::milliseconds pause) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, pause, [this] { return stop_; });
}

void TypingDemo::Run() {
  std::mt19937 random(options_.seed);
  const std::vector<DeviceId> keyboards = Keyboards(*backend_);
  std::uniform_int_distribution<long long> pause(options_.minPause.count(),
                                                 std::max(options_.minPause, options_.maxPause).count());
  std::uniform_int_distribution<int> burst(1, std::max(1, options_.maxKeysPerBurst));
  while (Wait(std::chrono::milliseconds(pause(random)))) {
    const DeviceId keyboard = keyboards[std::uniform_int_distribution<std::size_t>(0, keyboards.size() - 1)(random)];
    // Read each time: the user may have remapped keys meanwhile.
    const std::vector<std::uint8_t> positions = KeyPositions(*backend_, keyboard);
    if (positions.empty()) continue;
    std::uniform_int_distribution<std::size_t> pick(0, positions.size() - 1);
    for (int key = burst(random); key > 0; --key) {
      const std::uint8_t position = positions[pick(random)];
      // An unplugged keyboard, or one whose receiver link is down, sends nothing: the typing goes on.
      if (backend_->InjectEvent(keyboard, kPressed | position)) {
        std::lock_guard lock(mutex_);
        ++presses_;
      }
      if (!Wait(options_.keyHold)) return;
      backend_->InjectEvent(keyboard, kReleased | position);
    }
  }
}

}  // namespace norvane::emulator
