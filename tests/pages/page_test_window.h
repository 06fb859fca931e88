#pragma once
// A main-window stand-in for the page tests: the device strip's containers from page_window.ui, message
// 3331 handed to the device host as the main window hands it, and a harness that installs the emulator,
// creates the host and counts what the host asks of its window.

#include <gtest/gtest.h>

#include <QTest>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/device_host.h"
#include "controls/pages/device_page.h"
#include "emulator/emulator.h"
#include "hid/hid_backend.h"
#include "uilib/window_impl_base.h"

namespace norvane::pages::test {

using emulator::DeviceModel;
using namespace std::chrono_literals;

// Arrivals and removals are seen within 100 ms; the sanitizers slow every thread down by their own factor.
// (gcc names them with macros, clang with __has_feature).
#if defined(__has_feature)
#define NORVANE_HAS_FEATURE(x) __has_feature(x)
#else
#define NORVANE_HAS_FEATURE(x) 0
#endif
#if defined(__SANITIZE_THREAD__) || NORVANE_HAS_FEATURE(thread_sanitizer)
inline constexpr int kSanitizerSlowdown = 5;
#elif defined(__SANITIZE_ADDRESS__) || NORVANE_HAS_FEATURE(address_sanitizer)
inline constexpr int kSanitizerSlowdown = 3;
#else
inline constexpr int kSanitizerSlowdown = 1;
#endif
// A plug shows its tab at once (the benchmarks measure how soon); the bound only catches a tab that lags
// far behind the scanner, with room for a loaded test machine.
inline constexpr std::chrono::milliseconds kHotplugBound = 600ms * kSanitizerSlowdown;

class PageTestWindow : public ui::WindowImplBase {
 public:
  ui::CDuiString GetWindowClassName() const override { return "PageTestWnd"; }
  ui::CDuiString GetSkinFile() const override { return NORVANE_SOURCE_DIR "/tests/pages/page_window.ui"; }

  ui::LRESULT HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam,
                                  bool& handled) override {
    if (msg == controls::kDeviceTabLinkMessage && host) {
      host->HandleTabLinkMessage(wParam, lParam);
      handled = true;
      return 0;
    }
    return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
  }

  app::DeviceHost* host = nullptr;
};

// Wraps a backend so a test can fail enumerations or spoil a node's report descriptor.
class FaultyBackend : public hid::HidBackend {
 public:
  explicit FaultyBackend(std::shared_ptr<emulator::EmulatorBackend> inner) : inner_(std::move(inner)) {}
  std::optional<std::vector<hid::HidNodeInfo>> Enumerate() override {
    ++enumerations;
    if (failuresLeft > 0) {
      --failuresLeft;
      return std::nullopt;
    }
    auto nodes = inner_->Enumerate();
    if (nodes) {
      for (hid::HidNodeInfo& node : *nodes) {
        if (node.node_id == spoiledNode) node.report_descriptor = {0xA1, 0x01, 0xC0, 0xC0, 0x85};
      }
    }
    return nodes;
  }
  std::unique_ptr<hid::HidNodeConnection> Open(const std::string& node_id, const hid::HidNodeInfo* expected,
                                               hid::OpenError& error) override {
    return inner_->Open(node_id, expected, error);
  }
  std::unique_ptr<hid::HotplugSubscription> WatchHotplug(std::function<void()> on_change) override {
    return inner_->WatchHotplug(std::move(on_change));
  }

  std::atomic<int> enumerations{0};
  std::atomic<int> failuresLeft{0};
  std::string spoiledNode;

 private:
  std::shared_ptr<emulator::EmulatorBackend> inner_;
};

class HostHarness : public ::testing::Test {
 protected:
  // Installs an emulator with `models` plugged in (then unplugs those in `unplugged`), opens the window and
  // creates the host with its start-up pages. The scan starts with StartScan.
  void Open(std::vector<DeviceModel> models, std::vector<DeviceModel> unplugged = {}) {
    backend_ = std::make_shared<emulator::EmulatorBackend>(models);
    for (DeviceModel model : unplugged) backend_->Unplug(Device(model));
    faulty_ = std::make_shared<FaultyBackend>(backend_);
    previous_ = hid::SetActiveHidBackend(faulty_);
    ASSERT_TRUE(window_.Create(nullptr, "pages", false));
    app::DeviceHostHooks hooks;
    hooks.showAndRaise = [this] { ++raised_; };
    hooks.beforeLosingSelection = [this] { ++selectionLosses_; };
    hooks.closeSettingsWindow = [this] { ++settingsClosed_; };
    hooks.showMessage = [this](const ui::CDuiString& id, std::optional<int>) { messages_.push_back(id); };
    app::DeviceHostOptions options;
    options.linkWait.interval = 10ms;
    host_ = std::make_unique<app::DeviceHost>(window_.GetPaintManager(), hooks, options);
    window_.host = host_.get();
    host_->CreateStartupPages();
  }

  void TearDown() override {
    if (host_) host_->Teardown();
    window_.host = nullptr;
    host_.reset();
    if (faulty_) hid::SetActiveHidBackend(previous_);
  }

  emulator::DeviceId Device(DeviceModel model, int nth = 0) const {
    return backend_->FindDevice(model, nth).value_or(-1);
  }

  controls::DeviceStrip Strip() const { return host_->Strip(); }
  int VisibleTabs() const {
    int count = 0;
    const controls::DeviceStrip strip = Strip();
    for (int i = 0; i < strip.TabCount(); ++i) count += strip.Tab(i) && strip.Tab(i)->IsVisible() ? 1 : 0;
    return count;
  }
  // The page of `kind` (by its device's identity kind), null when none.
  controls::CDevicePageUI* PageOf(hid::DeviceKind kind) const {
    for (controls::CDevicePageUI* page : host_->Pages()) {
      if (page->Device()->Kind() == kind) return page;
    }
    return nullptr;
  }
  bool TabShown(controls::CDevicePageUI* page) const {
    return page && page->DeviceTab() && page->DeviceTab()->IsVisible();
  }
  static bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
    return QTest::qWaitFor(condition, int(limit.count()));
  }

  PageTestWindow window_;
  std::shared_ptr<emulator::EmulatorBackend> backend_;
  std::shared_ptr<FaultyBackend> faulty_;
  std::shared_ptr<hid::HidBackend> previous_;
  std::unique_ptr<app::DeviceHost> host_;
  int raised_ = 0;
  int selectionLosses_ = 0;
  int settingsClosed_ = 0;
  std::vector<ui::CDuiString> messages_;
};

}  // namespace norvane::pages::test
