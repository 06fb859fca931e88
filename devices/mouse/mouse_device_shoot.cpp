// Sending the recoil patterns: the four gun files as one block.
#include "devices/mouse/mouse_device.h"
#include "devices/mouse/recoil.h"
#include "platform/trace.h"
#include "protocol/command_series.h"

namespace norvane::devices {

int CNorvaneMouseDevice::WriteShootData() {
  protocol::CommandChannel& channel = CommandChannel();
  // Through the receiver the mouse is asked for anew before each step: it may leave the receiver's reach
  // at any time.
  if (!IsLinkUsable()) return protocol::kResultNoReply;
  if (const int read = mouse::RefreshMouseInfo(channel, layout_); read != protocol::kResultOk) return read;

  std::vector<macro::EventRecord> guns;
  for (int gun = 0; gun < mouse::kGunCount; ++gun) guns.push_back(mouse::ReadGunEvents(mouse::GunFile(UserProfileFolder(), gun)));
  const std::optional<std::vector<std::uint8_t>> block = mouse::BuildRecoilBlock(guns);
  if (!block) {
    Trace("mouse: the recoil patterns hold more events than one block can; nothing was sent");
    return kShootTooLarge;
  }

  if (!IsLinkUsable()) return protocol::kResultNoReply;
  // Once the series has begun it is closed, whatever happens in it.
  protocol::CommandSeries series(channel);
  series.Run([&](auto& ch) {
    return IsLinkUsable() ? protocol::CmdWriteShootData(ch, *block) : protocol::kResultNoReply;
  });
  if (series.Result() != protocol::kResultOk) {
    Trace("mouse: writing the recoil patterns failed: " + std::string(protocol::DescribeResult(series.Result())));
    return series.Result();
  }
  if (!IsLinkUsable()) return protocol::kResultNoReply;
  return series.End();
}

}  // namespace norvane::devices
