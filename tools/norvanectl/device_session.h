#pragma once
// Finding and opening the device a norvanectl command works on, the way the window opens its pages: the
// same set-up from the kinds table and the catalogue, the same command interface opening, and the same
// reads first (information block, key table, profile, live settings record), so that a write keeps what
// the device holds exactly as the window's would.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/device_plan.h"
#include "devices/usb_device.h"
#include "profiles/profile_list.h"

namespace norvane::cli {

// What a command did: its exit status and what it prints on stdout and stderr.
struct CommandOutput {
  int exit = 0;
  std::string out;
  std::string err;  // one line per problem, each beginning "norvanectl: "
};

CommandOutput Failed(int exit, const std::string& message);

// A device a command works on: one this program opened (kept in `owned`, its channel closed when it goes)
// or one of the window's pages, which stays the page's.
struct OpenedDevice {
  devices::CNorvaneUSBDevice* device = nullptr;
  std::unique_ptr<devices::CNorvaneUSBDevice> owned;
  devices::DevicePlan plan;
  std::string path;
  // The device's profile list, loaded as the page's profile bar loads it; the device works on its
  // selected profile.
  std::unique_ptr<CDeviceProfileList> profiles;
};

// What a command needs of a device (a page kind code: 1 keyboard, 2 mouse, 3 mouse pad, 7 headset).
using KindFilter = std::function<bool(const devices::DevicePlan&)>;

// The device named by `selector` (a kind name or an interface path), or, without one, the one connected
// device that `wanted` accepts. `setting` names what the command changes, for the messages ("DPI stages").
// On failure the output says why: exit 2 when the selector names no kind or a kind without the setting,
// exit 1 when no such device is connected, it cannot be opened or it does not answer the reads.
struct OpenOutcome {
  std::optional<OpenedDevice> opened;
  CommandOutput failure;
};
OpenOutcome OpenDeviceFor(const std::optional<std::string>& selector, const KindFilter& wanted,
                          const std::string& setting);

// Where a command finds its device: norvanectl scans and opens the devices itself; the window hands out
// the devices of its pages. Either refuses as OpenDeviceFor says.
class DeviceProvider {
 public:
  virtual ~DeviceProvider() = default;
  virtual OpenOutcome Provide(const std::optional<std::string>& selector, const KindFilter& wanted,
                              const std::string& setting) = 0;
  // The command has run on the device Provide gave (the window shows what it changed).
  virtual void CommandDone(OpenedDevice& /*device*/, std::string_view /*command*/) {}
};

// Scans the machine's interfaces and opens the chosen device (OpenDeviceFor).
class ScanningProvider final : public DeviceProvider {
 public:
  OpenOutcome Provide(const std::optional<std::string>& selector, const KindFilter& wanted,
                      const std::string& setting) override {
    return OpenDeviceFor(selector, wanted, setting);
  }
};

// The device's profile list as the page's profile bar loads it; false with the reason when unreadable.
[[nodiscard]] bool LoadProfileListOf(devices::CNorvaneUSBDevice& device, CDeviceProfileList& profiles,
                                     std::string* error);

// The choice among connected devices OpenDeviceFor makes, for any list of them (the window's pages): the
// index of the chosen one, or the failure.
struct Choice {
  int index = -1;
  CommandOutput failure;
};
struct ChoiceCandidate {
  std::string path;
  std::uint16_t pageKind = 0;
  const devices::DevicePlan* plan = nullptr;
};
Choice ChooseDevice(const std::vector<ChoiceCandidate>& connected, const std::optional<std::string>& selector,
                    const KindFilter& wanted, const std::string& setting);

// The kind's name as --device takes it ("keyboard"); "device" for a code no name has.
std::string KindName(std::uint16_t pageKind);

}  // namespace norvane::cli
