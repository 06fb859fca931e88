#pragma once
// What a device object is set up from: its kind's row, its model's catalogue rows and the interface it is
// identified by. The window's pages and norvanectl set their device objects up through the same plan, so
// both find the same profile folder, light list and counts.

#include <cstdint>
#include <memory>
#include <optional>

#include "devices/device_kinds.h"
#include "hid/catalogue/device_catalogue.h"
#include "hid/interface_table.h"

namespace norvane::devices {

struct DevicePlan {
  const DeviceKindRow* kind = nullptr;
  int modelIndex = 0;  // the catalogue row (also the page index of the start-up pages)
  hid::catalogue::DevicePageRow model;
  hid::catalogue::DevicePageFilesRow files;
  hid::InterfaceEntry identity;  // the wired entry, also for a device reached through its receiver
  std::uint16_t linkKind = 0;    // the kind code of the interface the plan was made for
  int variant = 0;
};

// The DevicePageTable row that serves InterfaceTable row `interfaceRow` with `variant`; -1 when none. A
// receiver finds its wired partner's row.
int PageRowForInterface(int interfaceRow, int variant);

// The plan of InterfaceTable row `interfaceRow`; nullopt when no page row or kind serves it.
std::optional<DevicePlan> PlanForInterface(int interfaceRow, int variant);

// Gives a plan's device object (MakeDeviceForKind(plan.linkKind)) its counts, model and folders, in the
// order the kinds expect; a page attaches its view first, since the wireless-capable flag reaches the view.
// The page then attaches its panels, and CompletePlannedDevice gives the device its identity, variant and
// light list; its key buttons are bound last.
void SetUpPlannedDevice(CNorvaneUSBDevice& device, const DevicePlan& plan);
void CompletePlannedDevice(CNorvaneUSBDevice& device, const DevicePlan& plan);

}  // namespace norvane::devices
