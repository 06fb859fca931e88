#include "app/device_host.h"
#include "app/device_service.h"
#include "controls/device_strip.h"
#include "controls/pages/device_page.h"
#include "devices/device_kinds.h"
#include "hid/catalogue/device_catalogue.h"

namespace norvane::app {
namespace {

class DeviceHostService final : public IDeviceService {
 public:
  DeviceHostService(ui::CPaintManagerUI& manager, DeviceHostHooks hooks) : host_(manager, std::move(hooks)) {}

  void CreateStartupPages() override { host_.CreateStartupPages(); }
  void StartScan() override { host_.StartScan(); }
  void StopScan() override { host_.StopScan(); }
  void HandleTabLinkMessage(ui::WPARAM wParam, ui::LPARAM lParam) override {
    host_.HandleTabLinkMessage(wParam, lParam);
  }
  void SetWindowActive(bool active) override { host_.SetWindowActive(active); }
  void SetSuspended(bool suspended) override { host_.SetSuspended(suspended); }
  bool AnyTabVisible() const override {
    const controls::DeviceStrip strip = host_.Strip();
    for (int i = 0; i < strip.TabCount(); ++i) {
      if (controls::CDeviceOptionUI* tab = strip.Tab(i); tab && tab->IsVisible()) return true;
    }
    return false;
  }
  void Teardown() override { host_.Teardown(); }
  controls::CDevicePageUI* CurrentPage() const override { return host_.CurrentPage(); }
  std::vector<controls::CDevicePageUI*> Pages() const override { return host_.Pages(); }
  std::vector<update::TabVersion> TabVersions() const override {
    std::vector<update::TabVersion> versions;
    const controls::DeviceStrip strip = host_.Strip();
    for (int i = 0; i < strip.TabCount(); ++i) {
      controls::CDeviceOptionUI* tab = strip.Tab(i);
      update::TabVersion version;
      version.deviceTab = tab != nullptr;
      if (!tab) {
        versions.push_back(version);
        continue;
      }
      auto* page = dynamic_cast<controls::CDevicePageUI*>(tab->GetPage());
      if (devices::CNorvaneUSBDevice* device = page ? page->Device() : nullptr) {
        const hid::InterfaceEntry& identity = device->Identity();
        version.pageRow = hid::catalogue::FindPageRow(
            identity.vendor_id, identity.product_id,
            devices::PageKindCode(static_cast<std::uint16_t>(identity.kind)), 0);
        protocol::CommandChannel& channel = device->CommandChannel();
        version.channelOpen = channel.IsOpen();
        version.receiverLink = channel.IsWireless();
        version.tabVisible = tab->IsVisible();
        version.wiredVersion = channel.Wired().Attributes().version;
        version.receiverVersion = channel.Receiver().Attributes().version;
      }
      versions.push_back(version);
    }
    return versions;
  }

 private:
  DeviceHost host_;
};

}  // namespace

std::unique_ptr<IDeviceService> MakeDeviceHostService(ui::CPaintManagerUI& manager, DeviceHostHooks hooks) {
  return std::make_unique<DeviceHostService>(manager, std::move(hooks));
}

}  // namespace norvane::app
