#pragma once
// CDeviceOptionUI (skin class "DeviceOption"): one device's tab in the main window's device strip. It shows
// the device's icon and name, selects the device's page and power page, and drives the page through its
// timers: the first synchronisation after attaching, the lighting animation, the wireless status and, on a
// receiver link, whether the device is online at all.
//
// The tab builds its content from the sub-skin "XML\CustomControlXML\DeviceOption.xml", which provides the
// synchro option "synchro_device_select", the device option "device_select" and the name label
// "device_select_name".

#include <QPointer>

#include "controls/device_icons.h"
#include "controls/device_tab_page.h"
#include "uilib/container.h"
#include "uilib/option.h"

namespace norvane::controls {

// Sent by tabs to their window: wParam = tab index, lParam 0 hide / 1 show (the wireless link went down/up).
inline constexpr ui::UINT kDeviceTabLinkMessage = 3331;

// The tab's timer ids.
enum DeviceTabTimer : int {
  kTimerPresentFrame = 1000,
  kTimerAttach = 1001,
  kTimerResync = 1002,
  kTimerFirstDeferred = 1003,
  kTimerSecondDeferred = 1004,
  kTimerWirelessStatus = 1005,
  kTimerLinkWatch = 1007,
};

inline constexpr const char* kDeviceTabGroup = "tab_header_device";
inline constexpr const char* kDevicePagesLayout = "device_switch";
inline constexpr const char* kPowerPagesLayout = "device_power_switch";

class CDeviceOptionUI : public ui::CHorizontalLayoutUI {
 public:
  static constexpr const char* kClassName = "DeviceOption";
  static constexpr const char* kSkin = "XML\\CustomControlXML\\DeviceOption.xml";

  void DoInit() override;
  void OnTimer(int timerId) override;

  // The page this tab drives (not owned); null unlinks it and stops the timers.
  void SetPage(IDeviceTabPage* page);
  IDeviceTabPage* GetPage() const { return page_; }
  // The page's control that the animation redraws while this tab is selected.
  void SetAnimatedControl(ui::CControlUI* control);

  ui::COptionUI* GetDeviceOption();
  ui::COptionUI* GetSynchroOption();
  ui::CControlUI* GetNameLabel();

  void SetDeviceName(const ui::CDuiString& text, bool isTextId = false);
  // Chooses the icons by kind code and variant (a mouse pad of an unknown variant keeps its icons).
  void SetIconKind(int kind, int variant);
  int GetIconKind() const { return iconKind_; }
  int GetIconVariant() const { return iconVariant_; }
  const DeviceIconSet& GetIcons() const { return icons_; }
  // The image the device option shows now (by selected and synchro state).
  ui::CDuiString CurrentImage() const;

  void SetOptionGroup(const ui::CDuiString& group);
  // The device option selects item `index` of the tab layout `layoutName` when it becomes selected.
  void BindTabLayoutName(const ui::CDuiString& layoutName) { tabLayoutName_ = layoutName; }
  void BindTabIndex(int index) { tabIndex_ = index; }
  int GetBindTabIndex() const { return tabIndex_; }
  // The power page of the device in "device_power_switch"; below 0: none.
  void SetPowerLayoutName(const ui::CDuiString& name) { powerLayoutName_ = name; }
  void SetPowerIndex(int index) { powerIndex_ = index; }
  int GetPowerIndex() const { return powerIndex_; }

  bool IsSelected();
  bool IsSynchroChecked();
  // Checks or unchecks the synchro option (without notification) and shows the matching images.
  void SetSynchro(bool on);
  void ShowSynchroOption(bool show);

  // Shows this tab's page and power page (hides the power layout when the tab has no power page).
  void ShowBoundPages();

  // The device's command interface was attached: the first check runs in 500 ms.
  void StartAttachTimer();
  // The receiver was switched to another paired device: watch its link (2000 ms).
  void StartLinkWatch();
  // The page's preview shows again: the next frame comes at once rather than at the next look.
  void PresentSoon();
  void StopTimers();

  // Position of this tab in its strip; -1 outside one.
  int TabIndex() const;

 private:
  ui::CControlUI* FindInWindow(const ui::CDuiString& name) const;
  void OnDeviceOptionToggled(bool selected);
  void ApplyImages();
  // Message 3331 to the window: show (true) or hide (false) this tab.
  void SendLinkMessage(bool show);
  void OnAttachTimer();
  void OnPresentFrameTimer();
  void OnLinkWatchTimer();

  IDeviceTabPage* page_ = nullptr;
  QPointer<QWidget> animated_;
  QPointer<QWidget> synchro_;
  QPointer<QWidget> device_;
  QPointer<QWidget> name_;
  int iconKind_ = 0;
  int iconVariant_ = 0;
  DeviceIconSet icons_ = UnknownDeviceIcons();
  ui::CDuiString tabLayoutName_;
  int tabIndex_ = -1;
  ui::CDuiString powerLayoutName_ = kPowerPagesLayout;
  int powerIndex_ = -1;
  bool built_ = false;
};

}  // namespace norvane::controls
