#pragma once
// A main-window stand-in for the controls tests: the device strip's containers and a profile bar from
// strip_window.ui, message 3331 routed to the strip as the main window routes it, and a device page fake
// that counts what its tab asks of it.

#include <vector>

#include "controls/device_profile.h"
#include "controls/device_strip.h"
#include "uilib/window_impl_base.h"

namespace norvane::controls::test {

class FakeDevicePage : public IDeviceTabPage {
 public:
  bool channelOpen = true;
  bool receiver = false;
  bool wirelessCapable = false;
  bool redraw = false;
  FramesFor needsFrames = FramesFor::kDevice;
  int linkUp = 1;

  int initialSyncs = 0;
  int resyncs = 0;
  int frames = 0;
  int demandChecks = 0;
  int linkQueries = 0;
  int statusReads = 0;
  int firstDeferred = 0;
  int secondDeferred = 0;
  bool moreThanOneTab = false;
  CDeviceOptionUI* tab = nullptr;

  bool IsChannelOpen() const override { return channelOpen; }
  bool IsReceiverLink() const override { return receiver; }
  bool IsWirelessCapable() const override { return wirelessCapable; }
  void InitialSync() override { ++initialSyncs; }
  void Resync() override { ++resyncs; }
  FramesFor NeedsFrames() override {
    ++demandChecks;
    return needsFrames;
  }
  void PresentFrame() override { ++frames; }
  bool WantsAnimationRedraw() const override { return redraw; }
  int IsWirelessLinkUp() override {
    ++linkQueries;
    return linkUp;
  }
  void ReadWirelessStatus() override { ++statusReads; }
  void RunFirstDeferredTask() override { ++firstDeferred; }
  void RunSecondDeferredTask() override { ++secondDeferred; }
  void SetMoreThanOneTabVisible(bool more) override { moreThanOneTab = more; }
  void SetDeviceTab(CDeviceOptionUI* t) override { tab = t; }
};

class StripWindow : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "StripTestWnd"; }
  ui::CDuiString GetSkinFile() const override { return NORVANE_SOURCE_DIR "/tests/controls/strip_window.ui"; }

  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                  bool& handled) override {
    if (msg == kDeviceTabLinkMessage) {
      linkMessages.push_back({wParam, lParam});
      HandleDeviceTabMessage(Strip(), wParam, lParam);
      handled = true;
      return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
  }

  void Notify(ui::TNotifyUI& msg) override {
    if (CDeviceProfileUI* bar = ProfileBar(); bar && bar->HandleNotify(msg)) ++profileNotifications;
    WindowImplBase::Notify(msg);
  }

  DeviceStrip Strip() const { return DeviceStrip::Find(const_cast<StripWindow*>(this)->GetPaintManager()); }
  CDeviceProfileUI* ProfileBar() const {
    return FindControlAs<CDeviceProfileUI>(CDeviceProfileUI::kItemName);
  }

  // Appends a hidden tab bound to page item `index` and power item `powerIndex`, driving `page`.
  CDeviceOptionUI* AddTab(FakeDevicePage& page, int index, int powerIndex) {
    auto* tab = new CDeviceOptionUI();
    Strip().tabs->Add(tab);
    tab->ShowSynchroOption(false);
    tab->SetOptionGroup(kDeviceTabGroup);
    tab->BindTabLayoutName(kDevicePagesLayout);
    tab->BindTabIndex(index);
    tab->SetPowerIndex(powerIndex);
    tab->SetVisible(false);
    tab->SetPage(&page);
    page.SetDeviceTab(tab);
    return tab;
  }

  struct LinkMessage {
    ui::WPARAM tab;
    ui::LPARAM show;
  };
  std::vector<LinkMessage> linkMessages;
  int profileNotifications = 0;
};

}  // namespace norvane::controls::test
