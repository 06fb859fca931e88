#pragma once
// Writing the macros a device's keys use, for every kind whose keys play macros: the block built from the
// device folder's macro files (macro/macro_block.h) and sent in one closed series, and what the user is told
// when that fails.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>

#include "devices/page_view.h"
#include "protocol/command_channel.h"

namespace norvane::devices {

// The block of the macros numbered `macros`, sent when it fits `capacity` and `linkUsable` says the device
// can be reached. 0 written; above 0 the block does not fit: that many events must go, plus one (nothing is
// sent); -1 the block could not be written.
[[nodiscard]] int WriteMacroBlock(protocol::CommandChannel& channel, const std::filesystem::path& folder,
                                  std::span<const int> macros, std::size_t capacity,
                                  const std::function<bool()>& linkUsable);

// What the user is told about a macro write's result: "message_text_7" when the macros could not be
// written, "message_text_16" with the number of events to remove when they do not fit; nothing for 0.
[[nodiscard]] std::optional<DeviceMessage> MacroWriteMessage(int result);

}  // namespace norvane::devices
