#include "controls/pages/page_builder.h"

#include <memory>

#include "hid/catalogue/device_catalogue.h"
#include "platform/trace.h"
#include "protocol/channel_opener.h"

namespace norvane::controls {

namespace {

using hid::DeviceKind;
namespace catalogue = hid::catalogue;

void RemoveFromStack(ui::CTabLayoutUI* stack, QWidget* widget) {
  if (!stack || !widget) return;
  stack->removeWidget(widget);
  delete widget;
}

}  // namespace

std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, int interfaceRow, int variant,
                                         ui::IDialogBuilderCallback* callback) {
  const std::optional<PagePlan> plan = PlanForInterface(interfaceRow, variant);
  if (!plan) return std::nullopt;
  return BuildDevicePage(strip, *plan, callback);
}

std::optional<BuiltPage> BuildDevicePage(const DeviceStrip& strip, const PagePlan& plan,
                                         ui::IDialogBuilderCallback* callback) {
  if (!strip.tabs || !strip.pages || !strip.powerPages || !plan.kind) return std::nullopt;
  const devices::DeviceKindRow& kind = *plan.kind;
  const catalogue::DevicePageRow& row = plan.model;

  auto power = std::make_unique<CMpDevicePowerUI>();
  auto tab = std::make_unique<CDeviceOptionUI>();
  // The page joins the window before its controls are made, so that each control takes its style once as
  // it is made, rather than again, the whole page over, when a finished page joins.
  auto made = std::make_unique<CDevicePageUI>();
  CDevicePageUI* page = made.get();
  strip.pages->Add(made.release());  // the stack owns it now
  if (!power->Build() || !page->BuildLayout(ui::CDuiString(kind.skin), callback) || !tab->GetDeviceOption()) {
    RemoveFromStack(strip.pages, page);
    Trace("device pages: the skins of the " + std::string(kind.folder) + " page could not be built");
    return std::nullopt;
  }

  BuiltPage built{page, power.get(), tab.get()};
  strip.powerPages->Add(power.release());
  built.power->SetKind(int(plan.linkKind));
  built.power->SetModel(plan.variant);

  page->SetDevice(devices::MakeDeviceForKind(plan.linkKind, page->Services()));
  devices::CNorvaneUSBDevice& device = *page->Device();
  devices::SetUpPlannedDevice(device, plan);
  page->SetPowerPanel(built.power);
  devices::CompletePlannedDevice(device, plan);
  device.BindKeyButtons();
  page->SetUpProfileBar();

  strip.tabs->Add(tab.release());
  CDeviceOptionUI* t = built.tab;
  t->ShowSynchroOption(false);
  t->SetOptionGroup(ui::CDuiString(row.group));
  t->BindTabLayoutName(kDevicePagesLayout);
  t->BindTabIndex(strip.pages->GetCount() - 1);
  t->SetPowerLayoutName(ui::CDuiString(row.power_layout));
  t->SetPowerIndex(strip.powerPages->GetCount() - 1);
  t->SetIconKind(row.kind_code, plan.variant);
  t->SetVisible(false);
  // The folder name doubles as the text id of the name the tab shows, so it follows the language.
  t->SetDeviceName(ui::CDuiString(kind.folder), true);
  t->SetPage(built.page);
  built.page->SetDeviceTab(t);
  t->SetAnimatedControl(built.page->AnimatedControl());
  return built;
}

void RemoveDevicePage(const DeviceStrip& strip, CDevicePageUI* page) {
  if (!page) return;
  CDeviceOptionUI* tab = page->DeviceTab();
  if (devices::CNorvaneUSBDevice* device = page->Device())
    protocol::CloseCommandInterfaces(device->CommandChannel());
  const int pageIndex = tab ? tab->GetBindTabIndex() : -1;
  const int powerIndex = tab ? tab->GetPowerIndex() : -1;
  if (tab) tab->SetPage(nullptr);
  page->SetDeviceTab(nullptr);

  RemoveFromStack(strip.powerPages, page->PowerPanel());
  RemoveFromStack(strip.pages, page);
  if (tab && strip.tabs) strip.tabs->Remove(tab);

  for (int i = 0; i < strip.TabCount(); ++i) {
    CDeviceOptionUI* later = strip.Tab(i);
    if (!later) continue;
    if (pageIndex >= 0 && later->GetBindTabIndex() > pageIndex)
      later->BindTabIndex(later->GetBindTabIndex() - 1);
    if (powerIndex >= 0 && later->GetPowerIndex() > powerIndex)
      later->SetPowerIndex(later->GetPowerIndex() - 1);
  }
}

}  // namespace norvane::controls
