#include "devices/macro_writes.h"

#include "macro/macro_block.h"
#include "macro/macro_files.h"
#include "platform/trace.h"
#include "protocol/command_series.h"

namespace norvane::devices {

int WriteMacroBlock(protocol::CommandChannel& channel, const std::filesystem::path& folder,
                    std::span<const int> macros, std::size_t capacity, const std::function<bool()>& linkUsable) {
  const std::vector<macro::MacroEntry> list = macro::ReadMacroList(folder);
  const macro::MacroBlockPlan plan = macro::BuildMacroBlock(folder, list, macros, capacity);
  if (plan.result != 0) return plan.result;
  if (!linkUsable()) return -1;
  protocol::CommandSeries series(channel);
  const int result = series.Run([&](auto& ch) { return protocol::CmdWriteMacros(ch, plan.block); });
  if (result != protocol::kResultOk) {
    Trace("device page: writing the macros failed: " + std::string(protocol::DescribeResult(result)));
    return -1;
  }
  return 0;
}

std::optional<DeviceMessage> MacroWriteMessage(int result) {
  if (result == -1) return DeviceMessage{"message_text_7", std::nullopt};
  if (result != 0) return DeviceMessage{"message_text_16", result};
  return std::nullopt;
}

}  // namespace norvane::devices
