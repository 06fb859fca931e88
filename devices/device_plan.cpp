#include "devices/device_plan.h"

namespace norvane::devices {
namespace {

namespace catalogue = hid::catalogue;

// The wired entry a device keeps as its identity: a receiver row's partner, so that both links find it.
hid::InterfaceEntry IdentityOf(int interfaceRow) {
  const auto& rows = hid::InterfaceTable();
  const hid::InterfaceEntry& row = rows[std::size_t(interfaceRow)];
  if (hid::IsReceiverKind(row.kind) && row.has_pair && row.pair_index < rows.size()) {
    return rows[row.pair_index];
  }
  return row;
}

}  // namespace

int PageRowForInterface(int interfaceRow, int variant) {
  const auto& rows = hid::InterfaceTable();
  if (interfaceRow < 0 || std::size_t(interfaceRow) >= rows.size()) return -1;
  const hid::InterfaceEntry& row = rows[std::size_t(interfaceRow)];
  const hid::InterfaceEntry& wired =
      hid::IsReceiverKind(row.kind) && row.has_pair && row.pair_index < rows.size() ? rows[row.pair_index] : row;
  return catalogue::FindPageRow(wired.vendor_id, wired.product_id, int(PageKindCode(std::uint16_t(row.kind))),
                                variant);
}

std::optional<DevicePlan> PlanForInterface(int interfaceRow, int variant) {
  const int g = PageRowForInterface(interfaceRow, variant);
  if (g < 0) return std::nullopt;
  const hid::DeviceKind linkKind = hid::InterfaceTable()[std::size_t(interfaceRow)].kind;
  const DeviceKindRow* kind = FindDeviceKind(std::uint16_t(linkKind));
  if (!kind) return std::nullopt;
  return DevicePlan{kind,
                    g,
                    catalogue::DevicePageTable()[std::size_t(g)],
                    catalogue::DevicePageFiles()[std::size_t(g)],
                    IdentityOf(interfaceRow),
                    std::uint16_t(linkKind),
                    variant};
}

void SetUpPlannedDevice(CNorvaneUSBDevice& device, const DevicePlan& plan) {
  const DeviceKindRow& kind = *plan.kind;
  const auto& files = plan.files;
  device.SetSkinFile(std::string(kind.skin));
  device.SetKeyCount(files.key_count);
  device.SetLedCount(files.led_count);
  if (kind.model_index) device.SetModelIndex(plan.modelIndex);
  device.SetWirelessCapable(files.wireless_capable != 0);
  device.SetLogoLed(files.logo_led);
  device.SetProfileStem({});
  device.SetDeviceFolder(std::string(kind.folder));
}

void CompletePlannedDevice(CNorvaneUSBDevice& device, const DevicePlan& plan) {
  device.SetIdentity(plan.identity);
  device.SetVariantIndex(plan.model.variant_index);
  device.SetLightListStem(std::string(plan.files.file_stem));
}

}  // namespace norvane::devices
