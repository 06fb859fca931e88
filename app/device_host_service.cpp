#include "app/device_host.h"
#include "app/device_service.h"
#include "controls/device_strip.h"
#include "controls/pages/device_page.h"

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

 private:
  DeviceHost host_;
};

}  // namespace

std::unique_ptr<IDeviceService> MakeDeviceHostService(ui::CPaintManagerUI& manager, DeviceHostHooks hooks) {
  return std::make_unique<DeviceHostService>(manager, std::move(hooks));
}

}  // namespace norvane::app
