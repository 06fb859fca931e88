#include "tools/norvanectl/interface_scan.h"

#include "hid/hid_device.h"

namespace norvane::cli {
namespace {

SeenInterface Probe(hid::HidDevice& probe_device, const std::string& path) {
  SeenInterface seen;
  seen.path = path;
  seen.probe.vendor_id = hid::ParseVendorId(path);
  seen.probe.product_id = hid::ParseProductId(path);
  seen.probe.interface_number = hid::ParseInterfaceNumber(path);
  seen.probe.collection_number = hid::ParseCollectionNumber(path);

  constexpr bool kRead = true;
  constexpr bool kWrite = false;
  constexpr bool kOverlapped = true;
  constexpr bool kExclusive = false;
  if (probe_device.Open(path, kRead, kWrite, kOverlapped, kExclusive) != 1) {
    seen.open_error = probe_device.LastOpenError();
    if (seen.open_error == hid::OpenError::kNone) seen.open_error = hid::OpenError::kIoError;
    return seen;
  }
  seen.probed = true;
  // As the device scan does: the identity of the open interface wins over the path text.
  seen.probe.vendor_id = probe_device.Attributes().vendor_id;
  seen.probe.product_id = probe_device.Attributes().product_id;
  seen.probe.usage_page = probe_device.Caps().usage_page;
  seen.probe.usage = probe_device.Caps().usage;
  probe_device.Close();
  seen.table_row = hid::MatchInterfaceRow(seen.probe);
  return seen;
}

}  // namespace

const hid::InterfaceEntry* SeenInterface::Row() const {
  return table_row ? &hid::InterfaceTable()[*table_row] : nullptr;
}

bool SeenInterface::IsCommandInterface() const {
  const hid::InterfaceEntry* row = Row();
  return row != nullptr && row->IsVendorCommandInterface();
}

ScanResult ScanInterfaces() {
  ScanResult result;
  hid::HidDevice walker;
  if (walker.EnumerateInterfaces() != 1) return result;
  result.enumerated = true;
  hid::HidDevice probe_device;
  while (const std::string* path = walker.NextInterfacePath()) {
    result.interfaces.push_back(Probe(probe_device, *path));
  }
  walker.ClearInterfacePaths();
  return result;
}

}  // namespace norvane::cli
