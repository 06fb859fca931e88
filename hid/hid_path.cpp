#include "hid/hid_path.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "hid/hid_device.h"

namespace norvane::hid {

namespace {

constexpr std::array<std::string_view, 4> kMarkers = {"vid_", "pid_", "&mi_", "&col"};

// Case-insensitive search; npos when absent.
size_t FindMarker(std::string_view text, std::string_view marker) {
  if (text.size() < marker.size()) return std::string_view::npos;
  for (size_t at = 0; at + marker.size() <= text.size(); ++at) {
    bool same = true;
    for (size_t i = 0; i < marker.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(text[at + i])) ==
             std::tolower(static_cast<unsigned char>(marker[i]));
    }
    if (same) return at;
  }
  return std::string_view::npos;
}

uint16_t HexAfterMarker(std::string_view path, std::string_view marker) {
  const size_t at = FindMarker(path, marker);
  if (at == std::string_view::npos) return 0;
  uint32_t value = 0;
  for (size_t i = at + marker.size(); i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (!std::isxdigit(c)) break;
    const uint32_t digit = std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10;
    value = (value << 4) | digit;  // wraps like a 32-bit scan; only the low 16 bits count
  }
  return static_cast<uint16_t>(value & 0xFFFF);
}

bool FitsInPath(std::string_view part) {
  if (part.find('#') != std::string_view::npos) return false;
  for (const std::string_view marker : kMarkers) {
    if (FindMarker(part, marker) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> BuildInterfacePath(const HidNodeInfo& node, size_t collection_index,
                                              size_t collection_count) {
  if (node.node_id.empty() || !FitsInPath(node.node_id) || !FitsInPath(node.usb_location)) {
    return std::nullopt;
  }
  char identity[64];
  int length = std::snprintf(identity, sizeof identity, "vid_%04x&pid_%04x", node.vendor_id, node.product_id);
  if (node.composite) {
    length += std::snprintf(identity + length, sizeof identity - length, "&mi_%02x",
                            static_cast<unsigned>(node.interface_number & 0xFFFF));
  }
  if (collection_count >= 2) {
    std::snprintf(identity + length, sizeof identity - length, "&col%02x",
                  static_cast<unsigned>((collection_index + 1) & 0xFFFF));
  }
  return node.node_id + "#" + identity + "#" + node.usb_location;
}

std::optional<InterfacePathParts> SplitInterfacePath(std::string_view path) {
  const size_t first = path.find('#');
  const size_t last = path.rfind('#');
  if (first == std::string_view::npos || first == last || first == 0) return std::nullopt;
  return InterfacePathParts{std::string(path.substr(0, first)),
                            std::string(path.substr(first + 1, last - first - 1)),
                            std::string(path.substr(last + 1))};
}

uint16_t ParseVendorId(std::string_view path) {
  return HexAfterMarker(path, "vid_");
}
uint16_t ParseProductId(std::string_view path) {
  return HexAfterMarker(path, "pid_");
}
uint16_t ParseInterfaceNumber(std::string_view path) {
  return HexAfterMarker(path, "&mi_");
}
uint16_t ParseCollectionNumber(std::string_view path) {
  return HexAfterMarker(path, "&col");
}

std::string PermissionHint() {
  return "This user may not open the device: the udev rule 70-norvane.rules is not installed (the norvane "
         "package installs it; in a source tree run `scripts/setup --udev`), then unplug and replug the device.";
}

}  // namespace norvane::hid
