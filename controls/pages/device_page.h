#pragma once
// CDevicePageUI: the widget side of one device page. It is the container that shows the device in
// "device_switch", built from the page layout skin of the device's catalogue row, and it owns the device
// object (the display-free page core of the device's kind). It gives that object its widgets: the key and
// light buttons, the function switches, the lighting preview and the power panel; and it gives the device
// tab the page it drives.
//
// Named parts of a page layout (all optional): key buttons "key_N", light buttons with user data
// "light_N", a second button of LED N named "light_0_N" and the logo button "logo" (all inside the first
// "SelectPanel" when the layout has one), the switches "device_function_switch"
// and "device_key_function_switch", the LED picture "device_light_preview" (class "LightPreview") and the
// label "device_sync_notice" that tells when the device could not be read, and the first hint
// "device_tishi_info", hidden once the user chose a function tab.
//
// The page does preview work only while its preview can be seen: the picture is shown (its window shown and
// not minimised, the page the current one, the tab that shows the picture chosen) and its window is mapped.
// It tells its device, whose lighting thread then rests, and its tab, which presents no frames meanwhile
// unless the device streams them; it wakes both the moment the picture shows again.

#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "controls/device_tab_page.h"
#include "controls/pages/qt_ui_poster.h"
#include "devices/basic_device.h"
#include "devices/page_view.h"
#include "devices/usb_device.h"
#include "uilib/container.h"
#include "uilib/dialog_builder.h"

namespace norvane::controls {

class CDeviceProfileUI;

class CMpDevicePowerUI;
class CDeviceOptionUI;
class CLightPreviewUI;
class CDeviceKeyButtonUI;

class CDevicePageUI : public ui::CHorizontalLayoutUI,
                      public devices::PageView,
                      public devices::FramePreview,
                      public IDeviceTabPage {
 public:
  static constexpr const char* kClassName = "NorvaneUSBDevice";
  static constexpr const char* kPreviewName = "device_light_preview";
  static constexpr const char* kNoticeName = "device_sync_notice";
  static constexpr const char* kHintName = "device_tishi_info";
  static constexpr const char* kLogoName = "logo";
  // A device that refuses its first synchronisation is often still starting after it was plugged in. A
  // refusal is answered at once (no wait that would hold the window), so the page asks again this many times,
  // this far apart, before its notice tells the user to replug.
  static constexpr int kFirstSyncRetries = 2;
  static constexpr int kFirstSyncRetryMs = 500;

  CDevicePageUI();
  ~CDevicePageUI() override;  // stops the device's threads before any widget goes

  // Builds the page layout skin into the page. False when the skin cannot be read.
  bool BuildLayout(const ui::CDuiString& skinName, ui::IDialogBuilderCallback* callback = nullptr);

  // What a device object of this page is made with: the page's UI poster and the real clock.
  devices::PageServices Services() { return devices::PageServices{.poster = &poster_}; }
  // Takes the device object (made with Services()) and attaches the page's view and preview to it.
  void SetDevice(std::unique_ptr<devices::CNorvaneUSBDevice> device);
  devices::CNorvaneUSBDevice* Device() const { return device_.get(); }

  // The power panel of this page (in "device_power_switch"); it gets the wireless-capable flag.
  void SetPowerPanel(CMpDevicePowerUI* panel);
  CMpDevicePowerUI* PowerPanel() const;
  CDeviceOptionUI* DeviceTab() const;

  // Told what the user should know about the device by language text id, with the number of a text that
  // is a format (a failed first synchronisation, a failed write); the window may show a message.
  using MessageSink = std::function<void(const ui::CDuiString& textId, std::optional<int> value)>;
  void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }
  // Told each time the device refreshed its state (the page's editors show it again).
  void SetRefreshListener(std::function<void()> listener) { refreshListener_ = std::move(listener); }
  // The text id the page's notice shows now; empty when the device was read.
  const ui::CDuiString& SyncNoticeTextId() const { return noticeTextId_; }

  // The bound buttons (null where no button was bound) and the page's redrawn picture.
  ui::CControlUI* KeyButton(int index) const;
  ui::CControlUI* LightButton(int index) const;
  int KeyButtonCount() const { return int(keyButtons_.size()); }
  int LightButtonCount() const { return int(lightButtons_.size()); }
  CLightPreviewUI* Preview() const;
  // The control the tab redraws after a changed frame: the LED picture (a key picture repaints the keys
  // whose light changed by itself); null when the page has none.
  ui::CControlUI* AnimatedControl();
  // Whether the page's preview can be seen now (see above).
  bool PreviewCanBeSeen() const;
  bool IsMoreThanOneTabVisible() const { return moreThanOneTab_; }

  // devices::PageView
  void BindKeyButtons(int key_count, int led_count) override;
  void ShowFunctionTabs(devices::FunctionTabSelection selection) override;
  void ShowWirelessCapable(bool capable) override;
  void ShowMessage(const devices::DeviceMessage& message) override;
  void ShowWirelessStatus(std::span<const uint8_t> status) override;
  void ShowSyncResult(devices::SyncResult result) override;
  void RefreshPage() override;
  void ProfileSwitched() override;
  void SelectKeyButton(int key, bool selected) override;
  // The key's tooltip (its own name, then what it does) and its key-set mark (drawn when it does something
  // other than its own key).
  void ShowKeyLabel(int key, std::string_view ownNameKey, const devices::KeyLabel& label) override;
  void HideHint() override;

  // devices::FramePreview
  void ShowFrame(std::span<const lighting::LedRecord> leds, const lighting::DeviceFrame& frame) override;

  // IDeviceTabPage: everything goes to the device object.
  bool IsChannelOpen() const override;
  bool IsReceiverLink() const override;
  bool IsWirelessCapable() const override;
  void InitialSync() override;
  void Resync() override;
  FramesFor NeedsFrames() override;
  void PresentFrame() override;
  bool WantsAnimationRedraw() const override { return frameChanged_; }
  int IsWirelessLinkUp() override;
  bool IsChannelInUse() override;
  void ReadWirelessStatus() override;
  void RunFirstDeferredTask() override;
  void RunSecondDeferredTask() override;

  // The page's profile bar ("DeviceProfileItem"), when its layout has one; null otherwise.
  CDeviceProfileUI* ProfileBar();
  // Configures the profile bar for the device (kind, folders, list, lighting tab) and points the device at
  // the selected profile's file. A page without a bar keeps no profile. Call once the device is set up.
  void SetUpProfileBar();
  // The user chose another profile in the bar's combo: select it in the list and load it into the device.
  // False when the page has no bar or the choice is not a profile.
  bool SwitchToChosenProfile();
  // Points the device at the profile the bar has selected and loads it. False without a bar or device.
  bool LoadSelectedProfile();
  void SetMoreThanOneTabVisible(bool more) override;
  // Told when the page learns that more or fewer than two device tabs are shown.
  void SetTabsListener(std::function<void(bool moreThanOne)> listener) { tabsListener_ = std::move(listener); }
  void SetDeviceTab(CDeviceOptionUI* tab) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowNotice(const ui::CDuiString& textId);
  void RetryFirstSync();
  // The widgets that show frames: the LED picture and the key picture (or the page, for light buttons
  // elsewhere on it). Watched for showing and hiding.
  void FindPictures();
  // Looks whether the preview can be seen and tells the device; watches the page's window for changes.
  void UpdatePreviewSeen();
  bool PreviewCanBeSeenIn(const QWidget* window) const;
  void WatchWindow(QWidget* window);
  void FitFunctionSwitch();
  ui::CControlUI* ButtonSearchRoot();

  QtUiPoster poster_;  // declared before the device: destroyed after its threads have stopped
  std::unique_ptr<devices::CNorvaneUSBDevice> device_;
  std::vector<QPointer<QWidget>> keyButtons_;
  std::vector<QPointer<QWidget>> lightButtons_;
  std::vector<QPointer<QWidget>> mirrorLights_;  // a second button of the same LED ("light_0_N"), or null
  QPointer<QWidget> logo_;                       // shows the colour of the device's logo LED
  // The LED picture, looked up once the layout is built.
  QPointer<QWidget> previewWidget_;
  CLightPreviewUI* previewControl_ = nullptr;
  bool previewFound_ = false;
  std::vector<uint32_t> shownLight_;  // the colour each light button shows, to restyle only changes
  QPointer<QWidget> power_;
  QPointer<QWidget> tab_;
  bool wirelessCapable_ = false;
  bool moreThanOneTab_ = false;
  std::function<void(bool)> tabsListener_;
  bool frameChanged_ = false;
  std::vector<QPointer<QWidget>> pictures_;
  bool previewSeen_ = true;  // until the tab first asks, a page presents like any other
  QPointer<QWidget> watchedWindow_;
  QPointer<QWindow> watchedHandle_;
  ui::CDuiString noticeTextId_;
  // Asks the device again after a refused first synchronisation; the tries left are kept for this one only.
  QTimer syncRetry_;
  int syncRetriesLeft_ = 0;
  MessageSink messageSink_;
  std::function<void()> refreshListener_;
};

}  // namespace norvane::controls
