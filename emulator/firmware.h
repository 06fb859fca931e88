#pragma once
// The firmware of an emulated device: answers command frames from the device's memory, and takes the
// headset's lighting output reports.

#include <cstdint>
#include <optional>
#include <span>

#include "emulator/command_frame.h"
#include "emulator/device_memory.h"

namespace norvane::emulator {

// Carries out one request and builds its reply: the request echoed, status in byte 7, read data in the
// payload, checksum of the reply in bytes 1 and 2. `via_receiver` tells the status read that the device is
// reached over the air (byte 3 of the wireless status is then 1).
Frame AnswerCommand(DeviceMemory& memory, const Frame& request, bool via_receiver);

// The memory area the request writes when the firmware carries it out (its reply has status 0x01); nullopt
// for a read and for a command that writes no memory.
[[nodiscard]] std::optional<MemoryArea> AreaWrittenBy(const Frame& request, DeviceFamily family);

// What a receiver sends back while its wireless link is down: command code 0xAA, payload byte 0 = 0x00.
Frame LinkDownAnswer(const Frame& request);

// The request refused with `status` and not carried out.
Frame RefusalAnswer(const Frame& request, uint8_t status);

// Stores one headset lighting output report (id 0xFF, zone 0x22 or 0x44, colour half 0xAA to 0xAF, channel
// values from byte 4). False, and nothing stored, for a report the headset does not understand.
bool StoreHeadsetLighting(DeviceMemory& memory, std::span<const uint8_t> report);

}  // namespace norvane::emulator
