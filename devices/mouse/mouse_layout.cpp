#include "devices/mouse/mouse_layout.h"

#include <algorithm>

#include "protocol/command_series.h"

namespace norvane::devices::mouse {
namespace {

constexpr std::array<KeyFunction, kButtonCount> kReferences{{
    {0x10, 0x01, 0x00},  // left
    {0x10, 0x02, 0x00},  // right
    {0x10, 0x04, 0x00},  // middle
    {0x10, 0x10, 0x00},  // forward
    {0x10, 0x08, 0x00},  // back
    {0x13, 0x01, 0x00},  // DPI up
    {0x13, 0x02, 0x00},  // DPI down
    {0x13, 0x03, 0x00},  // DPI cycle
    {0xA0, 0x1B, 0x00},  // mode key
    {0x16, 0x90, 0x01},  // DPI shift
    {0x14, 0x78, 0x02},  // rapid fire
}};

bool Holds(std::span<const std::uint8_t> table, std::size_t position, const KeyFunction& code) {
  const std::size_t at = kKeyCodeSize * position;
  return table[at] == code.type && table[at + 1] == code.data1 && table[at + 2] == code.data2;
}

}  // namespace

KeyFunction ButtonReference(std::size_t button) {
  return button < kReferences.size() ? kReferences[button] : KeyFunction{};
}

ButtonMap BuildButtonMap(std::span<const std::uint8_t> table, std::size_t positions) {
  ButtonMap unknown = MouseLayout::EmptyButtons();
  return PlaceButtons(table, positions, unknown);
}

ButtonMap PlaceButtons(std::span<const std::uint8_t> table, std::size_t positions, ButtonMap& known) {
  ButtonMap map = MouseLayout::EmptyButtons();
  positions = std::min({positions, table.size() / kKeyCodeSize, std::size_t{kNoButton}});
  for (std::size_t button = 0; button < kButtonCount; ++button) {
    const KeyFunction& code = kReferences[button];
    std::size_t holding = 0;
    std::uint8_t first = kNoButton;
    for (std::size_t position = 0; position < positions; ++position) {
      if (Holds(table, position, code) && holding++ == 0) first = static_cast<std::uint8_t>(position);
    }
    if (holding == 1) {
      map[button] = known[button] = first;
    } else if (holding > 1) {
      const std::uint8_t place = known[button];
      map[button] = place < positions && Holds(table, place, code) ? place : first;
    }
  }
  return map;
}

int ReadMouseLayout(protocol::CommandChannel& channel, MouseLayout& layout) {
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  MouseLayout read = layout;
  protocol::CommandSeries series(channel);
  series.Run([&](auto& ch) { return protocol::CmdReadDeviceInfo(ch, read.info); });
  series.Run([&](auto& ch) {
    // A block size the key table cannot hold means the block is damaged: read no table with it.
    if (read.TableBytes() > kKeyTableBytes) return protocol::kResultNotWritten;
    return ch.SetBlockSize(static_cast<std::uint16_t>(read.TableBytes())) == 1 ? protocol::kResultOk
                                                                               : protocol::kResultNotWritten;
  });
  read.keyTable.fill(0);
  series.Run([&](auto& ch) { return protocol::CmdReadKeyTable(ch, read.keyTable); });
  if (series.Result() != protocol::kResultOk) return series.Result();
  // Another mouse (another information block) starts knowing nothing.
  if (read.info != layout.info) read.known = MouseLayout::EmptyButtons();
  read.buttons = PlaceButtons(read.keyTable, read.KeyPositions(), read.known);
  read.loaded = true;
  layout = read;
  return protocol::kResultOk;
}

int RefreshMouseInfo(protocol::CommandChannel& channel, MouseLayout& layout) {
  std::array<std::uint8_t, protocol::kDeviceInfoSize> info{};
  const int result = protocol::CmdReadDeviceInfo(channel, info);
  if (result == protocol::kResultOk) layout.info = info;
  return result;
}

}  // namespace norvane::devices::mouse
