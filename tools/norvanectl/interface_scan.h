#pragma once
// Walks every HID interface path and probes it the way the device scan does: open for reading only, read
// its identity and top-level usage, close.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "hid/interface_table.h"

namespace norvane::cli {

struct SeenInterface {
  std::string path;
  hid::InterfaceProbe probe;                          // identity from the open interface, else from the path
  bool probed = false;                                // the interface could be opened to read its usage
  hid::OpenError open_error = hid::OpenError::kNone;  // why not, when not
  std::optional<size_t> table_row;                    // the interface table row it matches

  const hid::InterfaceEntry* Row() const;
  // A matched row that speaks the vendor command protocol.
  bool IsCommandInterface() const;
};

struct ScanResult {
  bool enumerated = false;  // false: the HID interfaces could not be listed at all
  std::vector<SeenInterface> interfaces;
};

ScanResult ScanInterfaces();

}  // namespace norvane::cli
