#pragma once
// The lighting record of the mouse pad and the headset: 21 bytes per stored profile, written at profile
// number × 64 of the settings area and read back live as the first 21 bytes of the 31 at profile number ×
// 31 (the firmware keeps both addresses; byte 0 of the area is the number of the profile in use). The host
// owns bytes 0 to 8; bytes 9 to 20 belong to the firmware and go back as they were last read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "devices/lighting/light_params.h"

namespace norvane::devices::strip {

inline constexpr std::size_t kRecordSize = 21;
inline constexpr std::size_t kLiveReadSize = 31;
inline constexpr std::uint16_t kWriteStride = 64;
inline constexpr std::uint16_t kLiveReadStride = 31;
using StripRecord = std::array<std::uint8_t, kRecordSize>;

namespace record_byte {
inline constexpr std::size_t kFirst = 0;  // the write's value (headset) or the profile in use (pad)
// 1 to 8: the lighting (light_record_bytes.h); 9 to 20: the firmware's.
inline constexpr std::size_t kFirmwareFirst = 9;
}  // namespace record_byte

// Where the record of a profile is written, and where the live read of it starts; nullopt for a profile
// whose record would not fit the 16-bit address range.
std::optional<std::uint16_t> WriteAddress(int profile);
std::optional<std::uint16_t> LiveReadAddress(int profile);

// The light parameters a record holds: the mode mapped back through the mode table, the speed level from
// byte 3 (a byte above 4 counts as the slowest level).
lighting::LightParams DecodeStripRecord(const StripRecord& record, std::span<const std::uint8_t> modeTable);

// The record to write: the firmware's bytes from `live`, byte 0 as given, the lighting from `light` (mode
// through the mode table, levels above 4 written as 4 so the speed byte never wraps).
StripRecord EncodeStripRecord(const StripRecord& live, const lighting::LightParams& light,
                              std::span<const std::uint8_t> modeTable, std::uint8_t first);

}  // namespace norvane::devices::strip
