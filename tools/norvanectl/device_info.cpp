#include "tools/norvanectl/device_info.h"

namespace norvane::cli {
namespace {

uint32_t Le16(std::span<const uint8_t, protocol::kDeviceInfoSize> block, size_t at) {
  return static_cast<uint32_t>(block[at] | (block[at + 1] << 8));
}

bool IsMouseKind(hid::DeviceKind kind) {
  return kind == hid::DeviceKind::kMouse || kind == hid::DeviceKind::kMouseReceiver;
}

}  // namespace

std::vector<InfoField> DecodeDeviceInfo(std::span<const uint8_t, protocol::kDeviceInfoSize> block,
                                        hid::DeviceKind kind) {
  // Each key position takes 3 bytes of the key table; macro memory counts in units of 128 bytes.
  std::vector<InfoField> fields = {
      {"key_positions", "key positions", block[5]},
      {"macro_memory_bytes", "macro memory (bytes)", block[6] * 128u},
  };
  if (IsMouseKind(kind)) {
    fields.push_back({"sensor_code", "sensor code", Le16(block, 9)});
    fields.push_back({"dpi_step", "DPI step", block[11]});
    fields.push_back({"highest_dpi_slider_position", "highest DPI slider position", block[12]});
    fields.push_back({"lowest_dpi", "lowest DPI", Le16(block, 14)});
  }
  return fields;
}

}  // namespace norvane::cli
