#include "app/device_host.h"

#include <QPointer>
#include <algorithm>
#include <atomic>
#include <map>

#include "controls/pages/device_page.h"
#include "controls/pages/page_builder.h"
#include "controls/pages/qt_ui_poster.h"
#include "devices/device_kinds.h"
#include "hid/catalogue/call_and_wait.h"
#include "hid/catalogue/device_catalogue.h"
#include "platform/trace.h"
#include "protocol/channel_opener.h"
#include "uilib/window_impl_base.h"
#include "uilib/window_wnd.h"

namespace norvane::app {

namespace {

using controls::CDevicePageUI;
using hid::DeviceKind;
using hid::InterfaceEntry;
namespace catalogue = hid::catalogue;

// The pages of one kind are kept by the kind's page code; 0 for an interface no kind serves.
std::uint16_t ListOf(DeviceKind kind) {
  const devices::DeviceKindRow* row = devices::FindDeviceKind(std::uint16_t(kind));
  return row ? row->code : 0;
}

// The wired link of a kind that can also be reached through its receiver.
bool IsWiredPairCode(DeviceKind kind) {
  const devices::DeviceKindRow* row = devices::FindDeviceKind(std::uint16_t(kind));
  return row && row->receiver_code != 0 && row->code == std::uint16_t(kind);
}

}  // namespace

struct DeviceHost::State final : catalogue::ScanListener {
  State(ui::CPaintManagerUI& m, DeviceHostHooks h, DeviceHostOptions o)
      : manager(m), hooks(std::move(h)), options(o), scanner(*this, options.scan) {}

  // ---- ScanListener (scan thread).
  bool InterfaceFound(std::size_t index, std::stop_token stop) override {
    return catalogue::CallAndWait(
        Poster(), [this, index] { OnFound(index); }, stop);
  }
  bool InterfaceLost(std::size_t index, std::stop_token stop) override {
    return catalogue::CallAndWait(
        Poster(), [this, index] { OnLost(index); }, stop);
  }
  void FirstPassDone() override {
    // Once per program run: a scan started again after a suspend does not raise the window.
    if (firstPassSeen.exchange(true)) return;
    poster.Post([this] {
      if (hooks.showAndRaise) hooks.showAndRaise();
    });
  }
  catalogue::CallPoster Poster() {
    return [this](std::function<void()> call) { poster.Post(std::move(call)); };
  }

  // ---- UI thread.
  controls::DeviceStrip Strip() const { return controls::DeviceStrip::Find(manager); }
  std::vector<InterfaceEntry> Entries() const { return scanner.Entries(); }

  std::vector<QPointer<CDevicePageUI>>& List(std::uint16_t list) { return lists[list]; }

  CDevicePageUI* FindPage(std::uint16_t list, const InterfaceEntry& entry) {
    if (list == 0) return nullptr;
    for (const QPointer<CDevicePageUI>& page : List(list)) {
      if (page && page->Device() && catalogue::SameEntry(page->Device()->Identity(), entry)) return page;
    }
    return nullptr;
  }

  // The page that serves entry a (its device's page, for a receiver or an event interface too).
  CDevicePageUI* ServingPage(const std::vector<InterfaceEntry>& list, std::size_t a) {
    const std::optional<InterfaceEntry> served = catalogue::ServingEntry(list, a);
    return served ? FindPage(ListOf(list[a].kind), *served) : nullptr;
  }

  bool TabServes(const std::vector<InterfaceEntry>& list, std::size_t a) {
    std::vector<InterfaceEntry> served;
    const controls::DeviceStrip strip = Strip();
    for (int i = 0; i < strip.TabCount(); ++i) {
      controls::CDeviceOptionUI* tab = strip.Tab(i);
      auto* page = tab ? dynamic_cast<CDevicePageUI*>(tab->GetPage()) : nullptr;
      if (page && page->Device()) served.push_back(page->Device()->Identity());
    }
    return catalogue::TabServesEntry(list, a, served);
  }

  ui::IDialogBuilderCallback* BuilderCallback() const {
    return dynamic_cast<ui::WindowImplBase*>(&manager.GetWindow());
  }

  CDevicePageUI* CreatePage(int interfaceRow, int variant) {
    const std::optional<controls::BuiltPage> built =
        controls::BuildDevicePage(Strip(), interfaceRow, variant, BuilderCallback());
    if (!built) return nullptr;
    powers.push_back(built->power);
    const DeviceKind kind = hid::InterfaceTable()[std::size_t(interfaceRow)].kind;
    List(ListOf(kind)).push_back(built->page);
    created.push_back(built->page);
    built->page->SetMessageSink([this](const ui::CDuiString& textId, std::optional<int> value) {
      if (hooks.showMessage) hooks.showMessage(textId, value);
    });
    built->page->Device()->SetWindowActive(windowActive);
    if (hooks.pageCreated) hooks.pageCreated(*built->page);
    return built->page;
  }

  int TabIndexOf(CDevicePageUI* page) const {
    controls::CDeviceOptionUI* tab = page ? page->DeviceTab() : nullptr;
    return tab ? tab->TabIndex() : -1;
  }

  bool AnyTabVisible() const {
    const controls::DeviceStrip strip = Strip();
    for (int i = 0; i < strip.TabCount(); ++i) {
      if (controls::CDeviceOptionUI* tab = strip.Tab(i); tab && tab->IsVisible()) return true;
    }
    return false;
  }

  void OnFound(std::size_t a) {
    const std::vector<InterfaceEntry> list = Entries();
    if (a >= list.size()) return;
    const InterfaceEntry& entry = list[a];
    if (ListOf(entry.kind) == 0) return;
    Trace("device host: " + std::string(hid::DeviceKindName(entry.kind)) + " interface arrived");
    if (!TabServes(list, a)) {
      const int d = catalogue::FindInterfaceRow(entry.vendor_id, entry.product_id, int(entry.kind), 0);
      if (d >= 0) CreatePage(d, 0);
    }
    if (entry.role == hid::InterfaceRole::kEvent) {
      if (CDevicePageUI* page = ServingPage(list, a)) page->Device()->AttachEventInterface(entry);
    } else {
      AttachCommand(list, a);
    }
    if (hooks.showAndRaise) hooks.showAndRaise();
  }

  void AttachCommand(const std::vector<InterfaceEntry>& list, std::size_t a) {
    const InterfaceEntry& entry = list[a];
    const bool receiver = hid::IsReceiverKind(entry.kind);
    if (catalogue::IsPairPresent(list, a)) {
      // The partner link already serves the page: a wired device takes over from its receiver; a
      // receiver waits until the wired device goes.
      if (IsWiredPairCode(entry.kind)) SwitchPaired(list, a);
      return;
    }
    InterfaceEntry served = entry;
    if (receiver && entry.has_pair && entry.pair_index < list.size()) served = list[entry.pair_index];
    CDevicePageUI* page = FindPage(ListOf(entry.kind), served);
    if (!page) return;
    devices::CNorvaneUSBDevice& device = *page->Device();
    if (device.CommandChannel().IsOpen()) return;
    // The kind decides the link: the mouse pad and the headset keep the settings of a new channel.
    const hid::OpenError error =
        protocol::OpenCommandInterfaceOfKind(device.CommandChannel(), entry.path, entry.kind);
    if (error == hid::OpenError::kNone) {
      device.SetIdentity(served);
    } else {
      Trace("device host: the command interface " + entry.path + " could not be opened");
    }
    controls::CDeviceOptionUI* tab = page->DeviceTab();
    if (!tab) return;
    // A receiver's tab waits for the link check: the device behind it may be switched off.
    if (!receiver) controls::ShowDeviceTab(Strip(), tab->TabIndex(), true, !AnyTabVisible());
    tab->StartAttachTimer();
  }

  void SwitchPaired(const std::vector<InterfaceEntry>& list, std::size_t a) {
    const InterfaceEntry& entry = list[a];
    if (!entry.has_pair || entry.pair_index >= list.size()) return;
    const InterfaceEntry& partner = list[entry.pair_index];
    CDevicePageUI* page = FindPage(ListOf(entry.kind), entry);
    if (!page) page = FindPage(ListOf(entry.kind), partner);
    if (!page) return;
    devices::CNorvaneUSBDevice& device = *page->Device();
    const bool wasOnReceiver = device.CommandChannel().IsWireless();
    const std::string& path = wasOnReceiver ? entry.path : partner.path;
    const devices::LinkSwitchOutcome outcome = devices::SwitchPairedLink(device, path, {}, options.linkWait);
    controls::CDeviceOptionUI* tab = page->DeviceTab();
    const int tabIndex = TabIndexOf(page);

    if (!outcome.opened) {
      // Back onto the link the page came from, when that one is still there; else the device is gone.
      const InterfaceEntry& previous = wasOnReceiver ? partner : entry;
      if (previous.claimed && !previous.path.empty() &&
          protocol::OpenCommandInterface(
              device.CommandChannel(), previous.path,
              wasOnReceiver ? protocol::LinkType::kReceiver : protocol::LinkType::kWired) ==
              hid::OpenError::kNone) {
        return;
      }
      controls::HideDeviceTab(Strip(), tabIndex, hooks.beforeLosingSelection);
      return;
    }
    if (hooks.closeSettingsWindow) hooks.closeSettingsWindow();
    if (outcome.on_receiver) {
      if (outcome.link != devices::WirelessLinkAnswer::kUp) {
        // The device behind the receiver is off or silent: the tab's link check shows it when it answers.
        if (tab) tab->StartAttachTimer();
        return;
      }
      if (device.IsWirelessCapable()) page->ReadWirelessStatus();
      if (tab) tab->StartLinkWatch();
      page->InitialSync();
      return;
    }
    if (tab) tab->StartAttachTimer();
    if (tabIndex >= 0)
      manager.GetWindow().SendMessage(controls::kDeviceTabLinkMessage, ui::WPARAM(tabIndex), 1);
    if (device.IsWirelessCapable()) page->ReadWirelessStatus();
  }

  void OnLost(std::size_t a) {
    const std::vector<InterfaceEntry> list = Entries();
    if (a >= list.size()) return;
    const InterfaceEntry& entry = list[a];
    if (ListOf(entry.kind) == 0) return;
    if (entry.role == hid::InterfaceRole::kEvent) {
      if (CDevicePageUI* page = ServingPage(list, a)) page->Device()->DetachEventInterface(entry);
      return;
    }
    Trace("device host: " + std::string(hid::DeviceKindName(entry.kind)) + " command interface lost");
    if (catalogue::IsPairPresent(list, a)) {
      if (IsWiredPairCode(entry.kind)) SwitchPaired(list, a);
      return;
    }
    InterfaceEntry served = entry;
    if (hid::IsReceiverKind(entry.kind) && entry.has_pair && entry.pair_index < list.size()) {
      served = list[entry.pair_index];
    }
    CDevicePageUI* page = FindPage(ListOf(entry.kind), served);
    if (!page) return;
    protocol::CloseCommandInterfaces(page->Device()->CommandChannel());
    controls::HideDeviceTab(Strip(), TabIndexOf(page), hooks.beforeLosingSelection);
  }

  void Teardown() {
    scanner.Stop();
    const controls::DeviceStrip strip = Strip();
    for (const QPointer<CDevicePageUI>& page : created) {
      if (page) controls::RemoveDevicePage(strip, page);
    }
    created.clear();
    lists.clear();
    powers.clear();
    controls::ShowDeviceTab(strip, -1, false, false);
  }

  ui::CPaintManagerUI& manager;
  DeviceHostHooks hooks;
  DeviceHostOptions options;
  // Declared before the scanner: the scan thread posts through it until the scanner is destroyed.
  controls::QtUiPoster poster;
  std::map<std::uint16_t, std::vector<QPointer<CDevicePageUI>>> lists;
  std::vector<QPointer<controls::CMpDevicePowerUI>> powers;
  std::vector<QPointer<CDevicePageUI>> created;
  std::atomic<bool> firstPassSeen{false};
  bool windowActive = true;
  bool scanWanted = false;
  bool suspended = false;
  catalogue::DeviceScanner scanner;
};

DeviceHost::DeviceHost(ui::CPaintManagerUI& manager, DeviceHostHooks hooks)
    : DeviceHost(manager, std::move(hooks), DeviceHostOptions{}) {}

DeviceHost::DeviceHost(ui::CPaintManagerUI& manager, DeviceHostHooks hooks, DeviceHostOptions options)
    : state_(std::make_unique<State>(manager, std::move(hooks), options)) {}

DeviceHost::~DeviceHost() {
  Teardown();
}

void DeviceHost::CreateStartupPages() {
  // The mouse and keyboard pages exist from the start, hidden, in catalogue order: their page index is
  // their tab index, which message 3331 relies on.
  for (std::size_t g = 0; g < 2; ++g) {
    const catalogue::DevicePageRow& row = catalogue::DevicePageTable()[g];
    const int d = catalogue::FindInterfaceRow(row.vendor_id, row.product_id, row.kind_code, row.variant);
    if (d < 0) continue;
    const InterfaceEntry& entry = hid::InterfaceTable()[std::size_t(d)];
    if (state_->FindPage(ListOf(entry.kind), entry)) continue;
    state_->CreatePage(d, 0);
  }
}

void DeviceHost::StartScan() {
  state_->scanWanted = true;
  if (!state_->suspended) state_->scanner.Start();
}

void DeviceHost::StopScan() {
  state_->scanWanted = false;
  state_->scanner.Stop();
}

void DeviceHost::OnInterfaceFound(std::size_t index) {
  state_->OnFound(index);
}

void DeviceHost::OnInterfaceLost(std::size_t index) {
  state_->OnLost(index);
}

void DeviceHost::HandleTabLinkMessage(ui::WPARAM wParam, ui::LPARAM lParam) {
  Trace(std::string("device host: link message ") + (lParam == 0 ? "hide " : "show ") +
        std::to_string(wParam));
  controls::HandleDeviceTabMessage(state_->Strip(), wParam, lParam, state_->hooks.beforeLosingSelection);
}

void DeviceHost::Teardown() {
  state_->scanWanted = false;
  state_->Teardown();
}

void DeviceHost::SetWindowActive(bool active) {
  state_->windowActive = active;
  for (CDevicePageUI* page : Pages()) page->Device()->SetWindowActive(active);
}

void DeviceHost::SetSuspended(bool suspended) {
  if (state_->suspended == suspended) return;
  state_->suspended = suspended;
  // Nothing is plugged or unplugged while the machine sleeps; after it wakes, a fresh scan finds what
  // changed meanwhile.
  if (suspended) {
    state_->scanner.Stop();
  } else if (state_->scanWanted) {
    state_->scanner.Start();
  }
}

std::vector<hid::InterfaceEntry> DeviceHost::Entries() const {
  return state_->Entries();
}

controls::DeviceStrip DeviceHost::Strip() const {
  return state_->Strip();
}

std::vector<controls::CDevicePageUI*> DeviceHost::Pages() const {
  std::vector<CDevicePageUI*> pages;
  for (const QPointer<CDevicePageUI>& page : state_->created) {
    if (page && page->Device()) pages.push_back(page);
  }
  return pages;
}

controls::CDevicePageUI* DeviceHost::CurrentPage() const {
  return dynamic_cast<CDevicePageUI*>(controls::CurrentDevicePage(state_->Strip()));
}

std::size_t DeviceHost::EnumerationCount() const {
  return state_->scanner.EnumerationCount();
}

}  // namespace norvane::app
