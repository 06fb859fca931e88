#pragma once
// The fields of the 34-byte device information block that the host knows the meaning of.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hid/interface_table.h"
#include "protocol/commands.h"

namespace norvane::cli {

struct InfoField {
  std::string key;    // machine name, e.g. "key_positions"
  std::string label;  // for people, e.g. "key positions"
  uint32_t value = 0;
};

// The named fields for a device of this kind; the mouse block carries its sensor and DPI range as well.
std::vector<InfoField> DecodeDeviceInfo(std::span<const uint8_t, protocol::kDeviceInfoSize> block,
                                        hid::DeviceKind kind);

}  // namespace norvane::cli
