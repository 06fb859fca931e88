// Factory contents of each device family's memory.

#include "emulator/device_memory.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace norvane::emulator {
namespace {

constexpr size_t kProfiles = 4;

// The keyboard's key table in device order: the code of the key at each position (0x20 = keyboard usage
// with modifier bits in byte 1, 0xA0 / 0xD0 = device functions, 20 00 00 = no key there). The matrix is
// scanned from the bottom row up, the function row last, with unwired positions between some rows, so a
// key's device position is not where it stands on the page.
constexpr std::array<std::array<uint8_t, 3>, 129> kKeyboardKeys{{
    // bottom row: Ctrl, Win, Alt, Space, Alt, Fn, Menu, Ctrl, arrows, keypad 0 . Enter +, media keys, Win
    {0x20, 0x01, 0x00}, {0x20, 0x08, 0x00}, {0x20, 0x04, 0x00}, {0x20, 0x00, 0x2C}, {0x20, 0x40, 0x00},
    {0xA0, 0x01, 0x00}, {0x20, 0x00, 0x65}, {0x20, 0x10, 0x00}, {0x20, 0x00, 0x50}, {0x20, 0x00, 0x51},
    {0x20, 0x00, 0x4F}, {0x20, 0x00, 0x62}, {0x20, 0x00, 0x63}, {0x20, 0x00, 0x58}, {0x20, 0x00, 0x57},
    {0xD0, 0xA2, 0x01}, {0xD0, 0xA2, 0x02}, {0xD0, 0xA2, 0x03}, {0xD0, 0xA2, 0x04}, {0xD0, 0xA2, 0x05},
    {0x20, 0x80, 0x00},
    // unwired position
    {0x20, 0x00, 0x00},
    // Shift row, up arrow, keypad 1 to 3, a few extra codes and one blank
    {0x20, 0x02, 0x00}, {0x20, 0x00, 0x1D}, {0x20, 0x00, 0x1B}, {0x20, 0x00, 0x06}, {0x20, 0x00, 0x19},
    {0x20, 0x00, 0x05}, {0x20, 0x00, 0x11}, {0x20, 0x00, 0x10}, {0x20, 0x00, 0x36}, {0x20, 0x00, 0x37},
    {0x20, 0x00, 0x38}, {0x20, 0x20, 0x00}, {0x20, 0x00, 0x52}, {0x20, 0x00, 0x59}, {0x20, 0x00, 0x5A},
    {0x20, 0x00, 0x5B}, {0x20, 0x00, 0x87}, {0x20, 0x00, 0x89}, {0x20, 0x00, 0x64}, {0x20, 0x00, 0x85},
    {0x20, 0x00, 0x00},
    // Caps row, keypad 4 to 6 and the international keys
    {0x20, 0x00, 0x39}, {0x20, 0x00, 0x04}, {0x20, 0x00, 0x16}, {0x20, 0x00, 0x07}, {0x20, 0x00, 0x09},
    {0x20, 0x00, 0x0A}, {0x20, 0x00, 0x0B}, {0x20, 0x00, 0x0D}, {0x20, 0x00, 0x0E}, {0x20, 0x00, 0x0F},
    {0x20, 0x00, 0x33}, {0x20, 0x00, 0x34}, {0x20, 0x00, 0x28}, {0x20, 0x00, 0x5C}, {0x20, 0x00, 0x5D},
    {0x20, 0x00, 0x5E}, {0x20, 0x00, 0x8A}, {0x20, 0x00, 0x8B}, {0x20, 0x00, 0x90}, {0x20, 0x00, 0x91},
    {0x20, 0x00, 0x88},
    // unwired position
    {0x20, 0x00, 0x00},
    // Tab row, Delete, End, Page Down, keypad 7 to 9
    {0x20, 0x00, 0x2B}, {0x20, 0x00, 0x14}, {0x20, 0x00, 0x1A}, {0x20, 0x00, 0x08}, {0x20, 0x00, 0x15},
    {0x20, 0x00, 0x17}, {0x20, 0x00, 0x1C}, {0x20, 0x00, 0x18}, {0x20, 0x00, 0x0C}, {0x20, 0x00, 0x12},
    {0x20, 0x00, 0x13}, {0x20, 0x00, 0x2F}, {0x20, 0x00, 0x30}, {0x20, 0x00, 0x31}, {0x20, 0x00, 0x4C},
    {0x20, 0x00, 0x4D}, {0x20, 0x00, 0x4E}, {0x20, 0x00, 0x5F}, {0x20, 0x00, 0x60}, {0x20, 0x00, 0x61},
    {0x20, 0x00, 0x32},
    // number row, Insert, Home, Page Up, keypad Num Lock / * -
    {0x20, 0x00, 0x35}, {0x20, 0x00, 0x1E}, {0x20, 0x00, 0x1F}, {0x20, 0x00, 0x20}, {0x20, 0x00, 0x21},
    {0x20, 0x00, 0x22}, {0x20, 0x00, 0x23}, {0x20, 0x00, 0x24}, {0x20, 0x00, 0x25}, {0x20, 0x00, 0x26},
    {0x20, 0x00, 0x27}, {0x20, 0x00, 0x2D}, {0x20, 0x00, 0x2E}, {0x20, 0x00, 0x2A}, {0x20, 0x00, 0x49},
    {0x20, 0x00, 0x4A}, {0x20, 0x00, 0x4B}, {0x20, 0x00, 0x53}, {0x20, 0x00, 0x54}, {0x20, 0x00, 0x55},
    {0x20, 0x00, 0x56},
    // Escape, F1 to F12, Print Screen, Scroll Lock, Pause, two device functions and three blanks
    {0x20, 0x00, 0x29}, {0x20, 0x00, 0x3A}, {0x20, 0x00, 0x3B}, {0x20, 0x00, 0x3C}, {0x20, 0x00, 0x3D},
    {0x20, 0x00, 0x3E}, {0x20, 0x00, 0x3F}, {0x20, 0x00, 0x40}, {0x20, 0x00, 0x41}, {0x20, 0x00, 0x42},
    {0x20, 0x00, 0x43}, {0x20, 0x00, 0x44}, {0x20, 0x00, 0x45}, {0x20, 0x00, 0x46}, {0x20, 0x00, 0x47},
    {0x20, 0x00, 0x48}, {0xA0, 0x1B, 0x00}, {0xA0, 0x24, 0x00}, {0x20, 0x00, 0x00}, {0x20, 0x00, 0x00},
    {0x20, 0x00, 0x00},
    // unwired position
    {0x20, 0x00, 0x00},
}};

// The mouse's buttons in device order: left, right, middle, back, forward, DPI cycle, DPI up, DPI down.
constexpr std::array<std::array<uint8_t, 3>, 8> kMouseButtons{{
    {0x10, 0x01, 0x00},
    {0x10, 0x02, 0x00},
    {0x10, 0x04, 0x00},
    {0x10, 0x08, 0x00},
    {0x10, 0x10, 0x00},
    {0x13, 0x03, 0x00},
    {0x13, 0x01, 0x00},
    {0x13, 0x02, 0x00},
}};

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

std::vector<uint8_t> InfoBlock(uint16_t version, uint8_t kind, uint8_t leds, uint8_t key_positions,
                               uint8_t macro_units, std::string_view model, uint16_t build) {
  std::vector<uint8_t> info(kInfoBlockSize, 0);
  Put16(info, info_byte::kFirmwareVersion, version);
  info[info_byte::kKindCode] = kind;
  info[info_byte::kProfileCount] = kProfiles;
  info[info_byte::kLedCount] = leds;
  info[info_byte::kKeyPositions] = key_positions;
  info[info_byte::kMacroUnits] = macro_units;
  std::copy_n(model.begin(), std::min<size_t>(model.size(), 16), info.begin() + info_byte::kModelName);
  Put16(info, info_byte::kBuildNumber, build);
  return info;
}

template <size_t N>
std::vector<uint8_t> KeyTable(const std::array<std::array<uint8_t, 3>, N>& codes) {
  std::vector<uint8_t> table(kKeyTableSize, 0);
  for (size_t position = 0; position < N; ++position) {
    std::copy(codes[position].begin(), codes[position].end(), table.begin() + 3 * position);
  }
  return table;
}

// The keyboard's 31-byte settings record per profile; byte 0 of record 0 is the active profile number.
std::vector<uint8_t> KeyboardSettings() {
  std::vector<uint8_t> area(kSettingsAreaSize, 0);
  for (size_t profile = 0; profile < kProfiles; ++profile) {
    const std::array<uint8_t, 31> record{0,    0x03, 4,    2,    0,    1,    0xFF, 0xFF, 0xFF, 0x01, 0x00,
                                         0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x5A, 0x00, 0x00, 0x00, 0x00,
                                         0x03, 0x1E, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    std::copy(record.begin(), record.end(), area.begin() + profile * 31);
  }
  area[0] = 0;
  return area;
}

// The mouse's 71-byte record per profile at profile number x 128. Byte 0 of the area (byte 0 of record 0)
// selects the profile the mouse uses; the other records keep 0 there.
std::vector<uint8_t> MouseSettings() {
  std::vector<uint8_t> area(kSettingsAreaSize, 0);
  // DPI stages as slider positions (lowest 100, step 100, above position 48 steps of 200): 400, 800, 1600,
  // 3200 and 6100 DPI, each with its colour.
  constexpr std::array<uint16_t, 5> kStagePositions{3, 7, 15, 31, 54};
  constexpr std::array<std::array<uint8_t, 3>, 5> kStageColours{
      {{0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0x00, 0xFF}}};
  for (size_t profile = 0; profile < kProfiles; ++profile) {
    const size_t base = profile * 128;
    const std::array<uint8_t, 9> head{0, 0x00, 4, 2, 0, 1, 0x00, 0xFF, 0xFF};
    std::copy(head.begin(), head.end(), area.begin() + base);
    area[base + 11] = 3;  // report rate stage: 1000 Hz
    area[base + 12] = 1;  // active DPI stage
    for (size_t stage = 0; stage < 5; ++stage) {
      const size_t at = base + 14 + 9 * stage;
      area[at] = 1;      // active
      area[at + 1] = 0;  // same DPI for X and Y
      Put16(area, at + 2, kStagePositions[stage]);
      Put16(area, at + 4, kStagePositions[stage]);
      std::copy(kStageColours[stage].begin(), kStageColours[stage].end(), area.begin() + at + 6);
    }
    area[base + 59] = 1;
    Put16(area, base + 60, 1920);
    Put16(area, base + 62, 1080);
  }
  return area;
}

// Pad and headset: a 21-byte lighting record per profile, stored at profile number x 64.
std::vector<uint8_t> LightingSettings() {
  std::vector<uint8_t> area(kSettingsAreaSize, 0);
  for (size_t profile = 0; profile < kProfiles; ++profile) {
    const std::array<uint8_t, 21> record{0, 0x00, 4, 2, 0, 1, 0x00, 0xFF, 0xFF, 0, 0,
                                         0, 0,    0, 0, 0, 0, 0,    0,    0,    0};
    std::copy(record.begin(), record.end(), area.begin() + profile * 64);
  }
  return area;
}

}  // namespace

DeviceMemory::DeviceMemory(DeviceFamily family) : family_(family) {
  switch (family) {
    case DeviceFamily::kKeyboard:
      info_ = InfoBlock(0x0118, 1, 126, static_cast<uint8_t>(kKeyboardKeys.size()), 0x20, "NV-K126", 0x0203);
      settings_ = KeyboardSettings();
      key_table_ = KeyTable(kKeyboardKeys);
      key_table_extra_ = KeyTable(kKeyboardKeys);
      light_mask_.assign(kLightMaskSize, 0);
      light_stream_.assign(kLightStreamSize, 0);
      status_ = {85, 1, 0, 0, 0, 0};  // battery %, charging, -, link flag, -, -
      break;
    case DeviceFamily::kMouse:
      info_ = InfoBlock(0x0121, 2, 15, 8, 0x10, "NV-M8", 0x0107);
      info_[info_byte::kSensorCode] = 0x25;
      info_[info_byte::kSensorCode + 1] = 0x33;
      info_[info_byte::kDpiStep] = 100;
      info_[info_byte::kDpiMaxPosition] = 73;  // 9900 DPI
      info_[info_byte::kDpiStages] = 5;
      Put16(info_, info_byte::kLowestDpi, 100);
      settings_ = MouseSettings();
      key_table_ = KeyTable(kMouseButtons);
      recoil_.assign(kRecoilAreaSize, 0);
      status_ = {70, 0, 0, 0, 0, 0};
      break;
    case DeviceFamily::kMousePad:
      info_ = InfoBlock(0x0105, 3, 15, 0, 0, "NV-P15", 0x0031);
      settings_ = LightingSettings();
      status_ = {100, 2, 0, 0, 0, 0};  // byte 5: no phone on the charging surface
      break;
    case DeviceFamily::kHeadset:
      // No information block: the headset's firmware has no command to read one.
      settings_ = LightingSettings();
      status_ = {90, 0, 0, 0, 0, 0};
      light_stream_.assign(2 * 6 * 7, 0);  // 2 zones x 6 colour halves x 7 values
      break;
  }
  const size_t macro_units = info_.empty() ? 0 : info_[info_byte::kMacroUnits];
  macros_.assign(macro_units * kMacroUnit, 0);
}

std::vector<uint8_t>& DeviceMemory::Storage(MemoryArea area) {
  switch (area) {
    case MemoryArea::kInfo:
      return info_;
    case MemoryArea::kSettings:
      return settings_;
    case MemoryArea::kKeyTable:
      return key_table_;
    case MemoryArea::kKeyTableExtra:
      return key_table_extra_;
    case MemoryArea::kLightMask:
      return light_mask_;
    case MemoryArea::kMacros:
      return macros_;
    case MemoryArea::kRecoil:
      return recoil_;
    case MemoryArea::kStatus:
      return status_;
    case MemoryArea::kLightStream:
      return light_stream_;
  }
  return info_;
}

const std::vector<uint8_t>& DeviceMemory::Storage(MemoryArea area) const {
  return const_cast<DeviceMemory*>(this)->Storage(area);
}

std::span<uint8_t> DeviceMemory::Area(MemoryArea area) {
  return Storage(area);
}
std::span<const uint8_t> DeviceMemory::Area(MemoryArea area) const {
  return Storage(area);
}

}  // namespace norvane::emulator
