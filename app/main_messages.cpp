#include "app/main_messages.h"

namespace norvane::app {

UINT RegisteredMessageId(RegisteredMessage id) {
  return kRegisteredMessageBase + static_cast<UINT>(id);
}

std::optional<RegisteredMessage> RegisteredMessageFromId(UINT msg) {
  if (msg < kRegisteredMessageBase) return std::nullopt;
  const UINT index = msg - kRegisteredMessageBase;
  if (index >= static_cast<UINT>(RegisteredMessage::kCopyData)) return std::nullopt;
  return static_cast<RegisteredMessage>(index);
}

}  // namespace norvane::app
