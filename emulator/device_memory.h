#pragma once
// The memory of one emulated device: the areas its command set reads and writes, plus the few firmware
// flags. A wired device and the receiver that reaches it share one DeviceMemory.

#include <cstdint>
#include <span>
#include <vector>

#include "emulator/emulator.h"
#include "emulator/usb_identity.h"

namespace norvane::emulator {

inline constexpr size_t kInfoBlockSize = 34;
inline constexpr size_t kSettingsAreaSize = 512;
inline constexpr size_t kKeyTableSize = 512;
inline constexpr size_t kLightMaskSize = 512;
inline constexpr size_t kLightStreamSize = 512;
inline constexpr size_t kRecoilAreaSize = 4096;
inline constexpr size_t kStatusSize = 6;
inline constexpr size_t kMacroUnit = 128;  // information byte 6 counts the macro memory in these units

// Positions inside the information block.
namespace info_byte {
inline constexpr size_t kFirmwareVersion = 0;  // 16-bit
inline constexpr size_t kKindCode = 2;
inline constexpr size_t kProfileCount = 3;
inline constexpr size_t kLedCount = 4;
inline constexpr size_t kKeyPositions = 5;  // key table holds 3 bytes per position
inline constexpr size_t kMacroUnits = 6;
inline constexpr size_t kSensorCode = 9;  // 16-bit, mice only
inline constexpr size_t kDpiStep = 11;
inline constexpr size_t kDpiMaxPosition = 12;
inline constexpr size_t kDpiStages = 13;
inline constexpr size_t kLowestDpi = 14;    // 16-bit
inline constexpr size_t kModelName = 16;    // 16 bytes of ASCII, zero padded
inline constexpr size_t kBuildNumber = 32;  // 16-bit
}  // namespace info_byte

class DeviceMemory {
 public:
  // Memory as the device leaves the factory.
  explicit DeviceMemory(DeviceFamily family);

  DeviceFamily family() const { return family_; }

  // The whole area; empty for an area the device does not have.
  std::span<uint8_t> Area(MemoryArea area);
  std::span<const uint8_t> Area(MemoryArea area) const;

  FirmwareCounters counters;

 private:
  std::vector<uint8_t>& Storage(MemoryArea area);
  const std::vector<uint8_t>& Storage(MemoryArea area) const;

  DeviceFamily family_;
  std::vector<uint8_t> info_;
  std::vector<uint8_t> settings_;
  std::vector<uint8_t> key_table_;
  std::vector<uint8_t> key_table_extra_;
  std::vector<uint8_t> light_mask_;
  std::vector<uint8_t> macros_;
  std::vector<uint8_t> recoil_;
  std::vector<uint8_t> status_;
  std::vector<uint8_t> light_stream_;
};

}  // namespace norvane::emulator
