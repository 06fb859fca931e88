#pragma once
// The body of a sync thread: reads the device's event reports from an event interface without a time
// limit and hands each event code on. Closing the interface releases the blocked read; the loop then ends
// once its stop was requested.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>

#include "hid/hid_device.h"

namespace norvane::devices {

// The event code of an input report: the first usage of the first decoded input item (the consumer array
// of the event collection carries the code as its usage). nullopt when the report decodes to nothing.
std::optional<uint16_t> DecodeEventCode(hid::HidDevice& device, std::span<const uint8_t> report);

// Loops until stop is requested: while the interface is open, reads one report and calls on_event with its
// code; while it is closed, or after a failed read, waits a short while (woken by the stop request).
void RunEventReadLoop(hid::HidDevice& device, std::stop_token stop,
                      const std::function<void(uint16_t code)>& on_event);

}  // namespace norvane::devices
