#include "devices/keyboard/keyboard_layout.h"

#include "protocol/command_series.h"

namespace norvane::devices::keyboard {

int ReadKeyboardLayout(protocol::CommandChannel& channel, KeyboardLayout& layout) {
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  KeyboardLayout read = layout;
  protocol::CommandSeries series(channel);
  series.Run([&](auto& ch) { return protocol::CmdReadDeviceInfo(ch, read.info); });
  series.Run([&](auto& ch) {
    const std::size_t bytes = read.TableBytes();
    // A block size the key table cannot hold means the block is damaged: read no table with it.
    if (bytes > kKeyTableSize) return protocol::kResultNotWritten;
    return ch.SetBlockSize(static_cast<std::uint16_t>(bytes)) == 1 ? protocol::kResultOk
                                                                   : protocol::kResultNotWritten;
  });
  read.keyTable.fill(0);
  read.extraTable.fill(0);
  series.Run([&](auto& ch) { return protocol::CmdReadKeyTable(ch, read.keyTable); });
  series.Run([&](auto& ch) { return protocol::CmdReadKeyTableExtra(ch, read.extraTable); });
  if (series.Result() != protocol::kResultOk) return series.Result();
  read.maps = BuildPositionMaps(read.keyTable, read.KeyPositions());
  read.loaded = true;
  layout = read;
  return protocol::kResultOk;
}

int RefreshDeviceInfo(protocol::CommandChannel& channel, KeyboardLayout& layout) {
  if (!channel.IsOpen()) return protocol::kResultNoReply;
  std::array<std::uint8_t, protocol::kDeviceInfoSize> info{};
  const int result = protocol::CmdReadDeviceInfo(channel, info);
  if (result == protocol::kResultOk) layout.info = info;
  return result;
}

}  // namespace norvane::devices::keyboard
