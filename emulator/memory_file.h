#pragma once
// The text of the file that keeps the emulated devices' memory between runs of the demo mode: what a real
// device keeps in its flash. Plain text, one stored area per line, so that a user can look at it:
//
//   # comment lines and blank lines are ignored
//   norvane-emulated-memory 1
//   keyboard 0 settings 00030402...
//   keyboard 1 light-mask ff000000...
//
// After the version line, each line is: device model name, the device's rank among the devices of that
// model in the list (from 0), area name, the area's bytes as hex (two digits each, either case). A device
// or an area appears only when something is stored for it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/emulator.h"

namespace norvane::emulator {

// The areas a device keeps when it is switched off. The information block is the firmware's own, the
// status is measured and the light stream is a live picture: none of them is stored.
inline constexpr std::array<MemoryArea, 6> kKeptAreas{MemoryArea::kSettings,      MemoryArea::kKeyTable,
                                                      MemoryArea::kKeyTableExtra, MemoryArea::kLightMask,
                                                      MemoryArea::kMacros,        MemoryArea::kRecoil};
[[nodiscard]] bool IsKeptArea(MemoryArea area);

// "settings", "key-table", "key-table-extra", "light-mask", "macros", "recoil", "info", "status",
// "light-stream".
[[nodiscard]] std::string_view MemoryAreaName(MemoryArea area);

// A file larger than this is not one we wrote (all six devices of every kind together need well under
// 100 KiB).
inline constexpr size_t kMaxMemoryFileBytes = 1024 * 1024;

struct StoredDevice {
  DeviceModel model = DeviceModel::kKeyboard;
  int rank = 0;  // among the list's devices of the same model
  std::vector<std::pair<MemoryArea, std::vector<uint8_t>>> areas;

  friend bool operator==(const StoredDevice&, const StoredDevice&) = default;
};

enum class MemoryFileVerdict {
  kRead,          // devices holds the file's content
  kOtherVersion,  // a well-formed file of another version: not ours to read
  kDamaged,       // not a file we wrote (or one cut short or edited wrongly)
};

struct ParsedMemoryFile {
  MemoryFileVerdict verdict = MemoryFileVerdict::kDamaged;
  std::vector<StoredDevice> devices;  // in file order, each (model, rank) once
  std::string problem;                // why the file is damaged; for a one-line diagnostic
};

// Reads the file's text. An area's byte count is not checked here: the device decides what fits its memory.
[[nodiscard]] ParsedMemoryFile ParseMemoryFile(std::string_view text);

// The file's text for these devices; ParseMemoryFile gives them back.
[[nodiscard]] std::string FormatMemoryFile(std::span<const StoredDevice> devices);

}  // namespace norvane::emulator
