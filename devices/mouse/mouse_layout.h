#pragma once
// What a mouse tells about itself: its information block (key positions, macro memory, sensor and DPI
// range), its key table, and where each of the mouse page's eleven buttons sits in that table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/key_table_builder.h"
#include "profiles/profile_records.h"
#include "protocol/command_channel.h"
#include "protocol/commands.h"

namespace norvane::devices::mouse {

inline constexpr std::size_t kButtonCount = 11;
// A button the mouse does not have.
inline constexpr std::uint8_t kNoButton = 0xAA;
using ButtonMap = std::array<std::uint8_t, kButtonCount>;

// The code a button sends when it is not reassigned; the button's place on the mouse is the first key
// table position holding it. Buttons 0..10: left, right, middle, forward, back, DPI up, DPI down, DPI
// cycle, mode key, DPI shift, rapid fire.
[[nodiscard]] KeyFunction ButtonReference(std::size_t button);

// Every button absent, then each button at the first of the first `positions` table positions that holds
// its reference code; a count beyond what the table holds is cut to it.
[[nodiscard]] ButtonMap BuildButtonMap(std::span<const std::uint8_t> table, std::size_t positions);

// As BuildButtonMap, with what earlier reads of the same mouse knew. A button whose code sits at exactly one
// position is there, and `known` learns it; one whose code sits at several (another button was given its
// function) keeps its known place among them, else takes the first.
[[nodiscard]] ButtonMap PlaceButtons(std::span<const std::uint8_t> table, std::size_t positions,
                                     ButtonMap& known);

// Named places in the information block.
namespace info_byte {
inline constexpr std::size_t kKeyPositions = 5;  // 3 key table bytes each
inline constexpr std::size_t kMacroUnits = 6;    // macro memory in units of 128 bytes
inline constexpr std::size_t kSensorCode = 9;    // 16-bit little-endian
inline constexpr std::size_t kDpiStep = 11;
inline constexpr std::size_t kHighestPosition = 12;  // the DPI slider's last position
inline constexpr std::size_t kLowestDpi = 14;        // 16-bit little-endian
}  // namespace info_byte

struct MouseLayout {
  std::array<std::uint8_t, protocol::kDeviceInfoSize> info{};
  KeyTableBytes keyTable{};  // as last read; the base of every key table write
  ButtonMap buttons = EmptyButtons();
  // Where each button was last seen for certain, kept across reads of the same mouse: once a button is
  // given another button's function, the table alone no longer tells which of the two slots is whose.
  ButtonMap known = EmptyButtons();
  bool loaded = false;  // the table was read: a write may start from it

  static constexpr ButtonMap EmptyButtons() {
    ButtonMap map{};
    map.fill(kNoButton);
    return map;
  }
  std::size_t KeyPositions() const { return info[info_byte::kKeyPositions]; }
  // 3 bytes per position; above 512 on a block the mouse cannot hold (callers check).
  std::size_t TableBytes() const { return kKeyCodeSize * KeyPositions(); }
  std::size_t MacroCapacity() const { return std::size_t{info[info_byte::kMacroUnits]} * 128; }
  std::uint16_t SensorCode() const {
    return static_cast<std::uint16_t>(info[info_byte::kSensorCode] | info[info_byte::kSensorCode + 1] << 8);
  }
  std::uint8_t DpiStep() const { return info[info_byte::kDpiStep]; }
  std::uint8_t HighestPosition() const { return info[info_byte::kHighestPosition]; }
  std::uint16_t LowestDpi() const {
    return static_cast<std::uint16_t>(info[info_byte::kLowestDpi] | info[info_byte::kLowestDpi + 1] << 8);
  }
  KeyPlaces Places() const { return {buttons, kNoButton}; }
};

// CmdBegin, the information block, the key table, CmdEnd, and the button map built from them. `layout`
// changes only when every read succeeded: a block size the mouse cannot hold (more than 512 table bytes)
// stops the series before the table is read (kResultNotWritten). Returns 1 or the first failing result.
int ReadMouseLayout(protocol::CommandChannel& channel, MouseLayout& layout);

// The information block alone, inside a series of the caller's. `layout.info` changes only on success.
int RefreshMouseInfo(protocol::CommandChannel& channel, MouseLayout& layout);

}  // namespace norvane::devices::mouse
