#include "tools/norvanectl/device_session.h"

#include <array>
#include <string_view>
#include <vector>

#include "devices/mouse/mouse_device.h"
#include "hid/catalogue/device_catalogue.h"
#include "protocol/channel_opener.h"
#include "tools/norvanectl/cli_commands.h"
#include "tools/norvanectl/command_words.h"
#include "tools/norvanectl/display_size.h"
#include "tools/norvanectl/info_reader.h"
#include "tools/norvanectl/interface_scan.h"

namespace norvane::cli {
namespace {

struct KindNaming {
  std::string_view name;
  std::uint16_t pageKind;
};

constexpr std::array<KindNaming, 4> kKindNames = {{
    {"keyboard", 1},
    {"mouse", 2},
    {"mousepad", 3},
    {"headset", 7},
}};

struct Candidate {
  std::string path;
  devices::DevicePlan plan;
};

bool IsReceiverLink(const Candidate& candidate) {
  return hid::IsReceiverKind(static_cast<hid::DeviceKind>(candidate.plan.linkKind));
}

std::uint16_t PageKindOf(const Candidate& candidate) {
  return devices::PageKindCode(candidate.plan.linkKind);
}

// Every connected device once: a device reached both by cable and through its receiver is taken by cable,
// as the window does.
std::vector<Candidate> ConnectedDevices(const ScanResult& scan) {
  std::vector<Candidate> found;
  for (const SeenInterface& seen : scan.interfaces) {
    if (!seen.IsCommandInterface()) continue;
    const hid::InterfaceEntry& row = *seen.Row();
    const int interfaceRow = hid::catalogue::FindInterfaceRow(row.vendor_id, row.product_id, int(row.kind), 0);
    if (interfaceRow < 0) continue;
    std::optional<devices::DevicePlan> plan = devices::PlanForInterface(interfaceRow, 0);
    if (!plan) continue;
    found.push_back({seen.path, std::move(*plan)});
  }
  std::vector<Candidate> devices;
  for (const Candidate& candidate : found) {
    bool wiredPartnerPresent = false;
    for (const Candidate& other : found) {
      wiredPartnerPresent = wiredPartnerPresent || (IsReceiverLink(candidate) && !IsReceiverLink(other) &&
                                                    other.plan.identity.SameInterface(candidate.plan.identity));
    }
    if (!wiredPartnerPresent) devices.push_back(candidate);
  }
  return devices;
}

std::optional<std::uint16_t> KindNamed(std::string_view name) {
  const std::string lower = Lower(name);
  for (const KindNaming& kind : kKindNames) {
    if (kind.name == lower) return kind.pageKind;
  }
  return std::nullopt;
}

OpenOutcome Refuse(int exit, const std::string& message) {
  return {std::nullopt, Failed(exit, message)};
}

OpenOutcome Open(const Candidate& chosen) {
  OpenedDevice opened{nullptr, devices::MakeDeviceForKind(chosen.plan.linkKind, {}), chosen.plan, chosen.path,
                      std::make_unique<CDeviceProfileList>()};
  opened.device = opened.owned.get();
  devices::CNorvaneUSBDevice& device = *opened.device;
  devices::SetUpPlannedDevice(device, chosen.plan);
  devices::CompletePlannedDevice(device, chosen.plan);
  device.BindKeyButtons();
  if (std::string error; !LoadProfileListOf(device, *opened.profiles, &error)) {
    return Refuse(kExitFailure, "the profile list could not be read: " + error);
  }
  device.SetProfileStem(opened.profiles->GetCurrentProfileId());
  const std::string name = KindName(PageKindOf(chosen));
  const auto kind = static_cast<hid::DeviceKind>(chosen.plan.linkKind);
  const hid::OpenError error = protocol::OpenCommandInterfaceOfKind(device.CommandChannel(), chosen.path, kind);
  if (error != hid::OpenError::kNone) {
    std::string message = "cannot open the " + name + " at " + chosen.path + ": " + DescribeOpenError(error);
    if (error == hid::OpenError::kPermissionDenied) message += " - " + hid::PermissionHint();
    return Refuse(kExitFailure, message);
  }
  if (IsReceiverLink(chosen) && device.IsWirelessLinkUp() != 1) {
    return Refuse(kExitFailure, "the " + name + " behind the receiver does not answer (switched off or out of reach?)");
  }
  const int read = device.ReadDeviceState();
  if (read != protocol::kResultOk) {
    return Refuse(kExitFailure, "the " + name + " did not answer the first reads: " +
                                    DescribeFailure(read, device.CommandChannel()));
  }
  // The screen size a settings write carries: the display's, as the window measures it; without a display,
  // the size the mouse already holds.
  if (auto* mouse = dynamic_cast<devices::CNorvaneMouseDevice*>(&device)) {
    if (const std::optional<DisplaySize> screen = DisplayScreenSize()) {
      mouse->SetScreenSize(screen->width, screen->height);
      return {std::move(opened), {}};
    }
    const devices::mouse::SettingsRecord& live = mouse->LiveRecord();
    namespace byte = devices::mouse::record_byte;
    mouse->SetScreenSize(live[byte::kScreenWidth] | live[byte::kScreenWidth + 1] << 8,
                         live[byte::kScreenHeight] | live[byte::kScreenHeight + 1] << 8);
  }
  return {std::move(opened), {}};
}

}  // namespace

CommandOutput Failed(int exit, const std::string& message) {
  return {exit, {}, "norvanectl: " + message + "\n"};
}

std::string KindName(std::uint16_t pageKind) {
  for (const KindNaming& kind : kKindNames) {
    if (kind.pageKind == pageKind) return std::string(kind.name);
  }
  return "device";
}

OpenOutcome OpenDeviceFor(const std::optional<std::string>& selector, const KindFilter& wanted,
                          const std::string& setting) {
  const ScanResult scan = ScanInterfaces();
  if (!scan.enumerated) return Refuse(kExitFailure, "cannot list the HID interfaces of this machine");
  const std::vector<Candidate> connected = ConnectedDevices(scan);
  std::vector<ChoiceCandidate> choices;
  for (const Candidate& candidate : connected) choices.push_back({candidate.path, PageKindOf(candidate), &candidate.plan});
  const Choice choice = ChooseDevice(choices, selector, wanted, setting);
  if (choice.index < 0) return {std::nullopt, choice.failure};
  return Open(connected[std::size_t(choice.index)]);
}

Choice ChooseDevice(const std::vector<ChoiceCandidate>& connected, const std::optional<std::string>& selector,
                    const KindFilter& wanted, const std::string& setting) {
  const auto refuse = [](int exit, const std::string& message) { return Choice{-1, Failed(exit, message)}; };
  int chosen = -1;
  if (selector) {
    const std::optional<std::uint16_t> kind = KindNamed(*selector);
    if (!kind && !selector->starts_with("/")) {
      return refuse(kExitUsage, "unknown device \"" + *selector +
                                    "\": give keyboard, mouse, mousepad, headset or an interface path");
    }
    for (std::size_t n = 0; n < connected.size() && chosen < 0; ++n) {
      if (kind ? connected[n].pageKind == *kind : connected[n].path == *selector) chosen = int(n);
    }
    if (chosen < 0) {
      return refuse(kExitFailure, kind ? "no " + *selector + " is connected" : "no supported device at " + *selector);
    }
    if (!wanted(*connected[std::size_t(chosen)].plan)) {
      return refuse(kExitUsage, "the " + KindName(connected[std::size_t(chosen)].pageKind) + " has no " + setting);
    }
  } else {
    int count = 0;
    for (std::size_t n = 0; n < connected.size(); ++n) {
      if (!wanted(*connected[n].plan)) continue;
      if (chosen < 0) chosen = int(n);
      ++count;
    }
    if (count == 0) return refuse(kExitFailure, "no connected device has " + setting);
    if (count > 1) {
      return refuse(kExitUsage, "more than one connected device has " + setting + ": choose one with --device");
    }
  }
  return {chosen, {}};
}

bool LoadProfileListOf(devices::CNorvaneUSBDevice& device, CDeviceProfileList& profiles, std::string* error) {
  profiles.SetDeviceKind(int(device.KindCode()));
  profiles.SetFolders(device.UserProfileFolder(), device.DefaultProfileFile());
  const ProfileListResult loaded = profiles.LoadProfileList();
  if (!loaded.done() && error) *error = loaded.error;
  return loaded.done();
}

}  // namespace norvane::cli
