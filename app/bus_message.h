#pragma once
// One message that reached this program over the bus, as the UI thread receives it.

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/registered_messages.h"

namespace norvane::app {

struct BusMessage {
  RegisteredMessage id = RegisteredMessage::kInstanceMessage;
  std::int64_t wParam = 0;
  // For kCopyData: wParam is the record's kind, lParam its byte count after cutting, data the bytes.
  std::int64_t lParam = 0;
  std::optional<QByteArray> data;
};

using BusMessageHandler = std::function<void(const BusMessage&)>;

}  // namespace norvane::app
