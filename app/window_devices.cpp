#include "app/window_devices.h"

#include "controls/pages/device_page.h"
#include "devices/device_capabilities.h"
#include "hid/catalogue/device_catalogue.h"
#include "tools/norvanectl/cli_commands.h"

namespace norvane::app {
namespace {

struct Connected {
  controls::CDevicePageUI* page;
  devices::DevicePlan plan;
};

std::vector<Connected> ConnectedPages(const std::vector<controls::CDevicePageUI*>& pages) {
  std::vector<Connected> connected;
  for (controls::CDevicePageUI* page : pages) {
    devices::CNorvaneUSBDevice* device = page ? page->Device() : nullptr;
    if (!device || !page->IsChannelOpen()) continue;
    const hid::InterfaceEntry& identity = device->Identity();
    const int row = hid::catalogue::FindInterfaceRow(identity.vendor_id, identity.product_id, int(identity.kind), 0);
    std::optional<devices::DevicePlan> plan = row >= 0 ? devices::PlanForInterface(row, 0) : std::nullopt;
    if (plan) connected.push_back({page, std::move(*plan)});
  }
  return connected;
}

}  // namespace

cli::OpenOutcome WindowDeviceProvider::Provide(const std::optional<std::string>& selector,
                                               const cli::KindFilter& wanted, const std::string& setting) {
  const std::vector<Connected> connected = ConnectedPages(pages_);
  std::vector<cli::ChoiceCandidate> choices;
  for (const Connected& entry : connected) {
    choices.push_back({entry.page->Device()->Identity().path, devices::PageKindCode(entry.plan.linkKind), &entry.plan});
  }
  const cli::Choice choice = cli::ChooseDevice(choices, selector, wanted, setting);
  if (choice.index < 0) return {std::nullopt, choice.failure};
  const Connected& chosen = connected[std::size_t(choice.index)];
  devices::CNorvaneUSBDevice& device = *chosen.page->Device();
  cli::OpenedDevice opened{&device, nullptr, chosen.plan, device.Identity().path,
                           std::make_unique<CDeviceProfileList>()};
  if (std::string error; !cli::LoadProfileListOf(device, *opened.profiles, &error)) {
    return {std::nullopt, cli::Failed(cli::kExitFailure, "the profile list could not be read: " + error)};
  }
  return {std::move(opened), {}};
}

void WindowDeviceProvider::CommandDone(cli::OpenedDevice& opened, std::string_view command) {
  for (controls::CDevicePageUI* page : pages_) {
    if (!page || page->Device() != opened.device) continue;
    if (command == "profile") page->ProfileSwitched();
    if (devices::KeyTableOps* keys = opened.device->KeyTable()) keys->RefreshKeyLabels();
    page->RefreshPage();
  }
}

}  // namespace norvane::app
