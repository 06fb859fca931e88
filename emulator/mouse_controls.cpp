// The mouse as its user handles it: its own profile and DPI buttons, and the other builds of the mouse.
#include <array>
#include <vector>

#include "emulator/device_memory.h"
#include "emulator/emulator.h"
#include "emulator/emulator_core.h"

namespace norvane::emulator {
namespace {

constexpr int kMouseProfiles = 4;
constexpr int kMouseStages = 5;
constexpr size_t kRecordSpacing = 128;
constexpr size_t kActiveStageByte = 12;
constexpr uint8_t kProfileEvent = 0x10;
constexpr uint8_t kProfileAndStageEvent = 0x11;

// All eleven buttons of the mouse page in the order this build's matrix is scanned, and one unwired position.
constexpr std::array<std::array<uint8_t, 3>, 12> kElevenButtons{{
    {0x10, 0x02, 0x00},  // right
    {0x13, 0x02, 0x00},  // DPI down
    {0x10, 0x01, 0x00},  // left
    {0x14, 0x78, 0x02},  // rapid fire
    {0x10, 0x08, 0x00},  // back
    {0x00, 0x00, 0x00},  // unwired
    {0x13, 0x03, 0x00},  // DPI cycle
    {0x10, 0x04, 0x00},  // middle
    {0x16, 0x90, 0x01},  // DPI shift
    {0xA0, 0x1B, 0x00},  // mode key
    {0x10, 0x10, 0x00},  // forward
    {0x13, 0x01, 0x00},  // DPI up
}};

bool IsMouse(const EmulatorBackend& backend, DeviceId device) {
  const DeviceModel model = backend.ModelOf(device);
  return model == DeviceModel::kMouse || model == DeviceModel::kMouseReceiver;
}

}  // namespace

void EmulatorBackend::UseMouseFixture(DeviceId mouse, MouseFixture fixture) {
  if (!IsMouse(*this, mouse)) return;
  const DeviceMemory factory(DeviceFamily::kMouse);
  std::vector<uint8_t> info(factory.Area(MemoryArea::kInfo).begin(), factory.Area(MemoryArea::kInfo).end());
  std::vector<uint8_t> table(factory.Area(MemoryArea::kKeyTable).begin(),
                             factory.Area(MemoryArea::kKeyTable).end());
  switch (fixture) {
    case MouseFixture::kFactory:
      break;
    case MouseFixture::kOtherSensor:
      info[info_byte::kSensorCode] = 0x89;
      info[info_byte::kSensorCode + 1] = 0x33;
      info[info_byte::kDpiStep] = 50;
      info[info_byte::kDpiMaxPosition] = 116;  // 6000 DPI
      info[info_byte::kLowestDpi] = 200;
      info[info_byte::kLowestDpi + 1] = 0;
      break;
    case MouseFixture::kElevenButtons:
      info[info_byte::kKeyPositions] = static_cast<uint8_t>(kElevenButtons.size());
      std::fill(table.begin(), table.end(), 0);
      for (size_t position = 0; position < kElevenButtons.size(); ++position) {
        std::copy(kElevenButtons[position].begin(), kElevenButtons[position].end(), table.begin() + 3 * position);
      }
      break;
  }
  core_->WriteMemory(mouse, MemoryArea::kInfo, 0, info);
  core_->WriteMemory(mouse, MemoryArea::kKeyTable, 0, table);
}

bool EmulatorBackend::PressProfileButton(DeviceId mouse, int profile) {
  if (!IsMouse(*this, mouse) || profile < 0 || profile >= kMouseProfiles) return false;
  const uint8_t selector = static_cast<uint8_t>(profile);
  core_->WriteMemory(mouse, MemoryArea::kSettings, 0, std::span(&selector, 1));
  return core_->InjectEvent(mouse, static_cast<uint16_t>(kProfileEvent << 8 | profile));
}

bool EmulatorBackend::PressDpiButton(DeviceId mouse, int stage) {
  if (!IsMouse(*this, mouse) || stage < 0 || stage >= kMouseStages) return false;
  const std::vector<uint8_t> selector = core_->ReadMemory(mouse, MemoryArea::kSettings, 0, 1);
  const int profile = selector.empty() ? 0 : selector[0] % kMouseProfiles;
  const uint8_t value = static_cast<uint8_t>(stage);
  core_->WriteMemory(mouse, MemoryArea::kSettings, profile * kRecordSpacing + kActiveStageByte, std::span(&value, 1));
  return core_->InjectEvent(mouse, static_cast<uint16_t>(kProfileAndStageEvent << 8 | stage << 4 | profile));
}

}  // namespace norvane::emulator
