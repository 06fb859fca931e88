#pragma once
// A page view for device tests: each call goes to the matching callback, when one is set.

#include <functional>
#include <span>

#include "devices/page_view.h"

namespace norvane::testing {

struct PageViewCallbacks {
  std::function<void(const devices::DeviceMessage&)> showMessage = {};
  std::function<void()> refreshPage = {};
  std::function<void()> profileSwitched = {};
  std::function<void(int key, bool selected)> selectKeyButton = {};
  std::function<void(int key)> showKeyAssignment = {};
  std::function<void(std::span<const std::uint8_t>)> showWirelessStatus = {};
  std::function<void(devices::SyncResult)> showSyncResult = {};
};

class CallbackPageView final : public devices::PageView {
 public:
  // Takes the callbacks and attaches itself to `device`; it must outlive the device's use of it.
  template <class Device>
  void Attach(Device& device, PageViewCallbacks callbacks) {
    callbacks_ = std::move(callbacks);
    device.AttachView(this);
  }

  void BindKeyButtons(int, int) override {}
  void ShowFunctionTabs(devices::FunctionTabSelection) override {}
  void ShowWirelessCapable(bool) override {}
  void ShowMessage(const devices::DeviceMessage& message) override {
    if (callbacks_.showMessage) callbacks_.showMessage(message);
  }
  void ShowWirelessStatus(std::span<const std::uint8_t> status) override {
    if (callbacks_.showWirelessStatus) callbacks_.showWirelessStatus(status);
  }
  void ShowSyncResult(devices::SyncResult result) override {
    if (callbacks_.showSyncResult) callbacks_.showSyncResult(result);
  }
  void RefreshPage() override {
    if (callbacks_.refreshPage) callbacks_.refreshPage();
  }
  void ProfileSwitched() override {
    if (callbacks_.profileSwitched) callbacks_.profileSwitched();
  }
  void SelectKeyButton(int key, bool selected) override {
    if (callbacks_.selectKeyButton) callbacks_.selectKeyButton(key, selected);
  }
  void ShowKeyAssignment(int key) override {
    if (callbacks_.showKeyAssignment) callbacks_.showKeyAssignment(key);
  }

 private:
  PageViewCallbacks callbacks_;
};

}  // namespace norvane::testing
