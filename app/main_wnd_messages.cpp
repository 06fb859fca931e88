// The main window's messages: from other programs (registered messages over the bus, data records), from
// the program's own threads and child windows, from the tray, and from the system (sleep, screens).
#include <QMetaObject>
#include <QRect>
#include <QWidget>
#include <cstring>

#include "app/copy_data_record.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "controls/pages/device_page.h"
#include "platform/trace.h"
#include "uilib/button.h"

namespace norvane::app {
namespace {

bool IsEditorHookMessage(RegisteredMessage id) {
  using enum RegisteredMessage;
  switch (id) {
    case kHookKeySingleKey:
    case kHookKeyKbMacro:
    case kHookKeyMsMacro:
    case kHookKeyKbMacroSingle:
    case kHookKeyKbMacroPrevious:
    case kHookKeyKbMacroLater:
    case kHookKeyMsMacroSingle:
    case kHookKeyMsMacroPrevious:
    case kHookKeyMsMacroLater:
      return true;
    default:
      return false;
  }
}

bool IsGameMessage(RegisteredMessage id) {
  using enum RegisteredMessage;
  return id == kGameStart || id == kGameEnd || id == kGameKill || id == kGameDeath;
}

}  // namespace

void CMainWnd::OnBusMessage(const BusMessage& message) {
  if (message.id == RegisteredMessage::kCopyData) {
    if (message.data) OnCopyData(message.wParam, *message.data);
    return;
  }
  PostMessage(RegisteredMessageId(message.id), static_cast<ui::WPARAM>(message.wParam),
              static_cast<ui::LPARAM>(message.lParam));
}

void CMainWnd::OnCopyData(std::int64_t kind, const QByteArray& data) {
  if (!awake_) return;
  const std::optional<QByteArray> accepted = AcceptCopyData(kind, data);
  if (!accepted) return;
  // Whole values only: a trailing partial value is not a level.
  if (kind == kCopyDataSoundLevels) {
    const std::size_t count =
        std::min<std::size_t>(accepted->size() / sizeof(std::int32_t), kSoundLevelCount);
    std::memcpy(soundLevels_.data(), accepted->constData(), count * sizeof(std::int32_t));
    if (hooks_.soundLevels) hooks_.soundLevels(std::span<const std::int32_t>(soundLevels_.data(), count));
    if (count > 0) ProcessAudioLevels();
  } else if (kind == kCopyDataAudioBands) {
    const std::size_t count = std::min<std::size_t>(accepted->size() / sizeof(std::int32_t), kAudioBandCount);
    std::memcpy(audioBands_.data(), accepted->constData(), count * sizeof(std::int32_t));
    if (hooks_.audioBands) hooks_.audioBands(std::span<const std::int32_t>(audioBands_.data(), count));
    // The band colour goes to the first keyboard.
    if (devices_ && count > 0) {
      for (controls::CDevicePageUI* page : devices_->Pages()) {
        if (!page->Device() || page->Device()->Kind() != hid::DeviceKind::kKeyboard) continue;
        page->Device()->FeedAudioBands(std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(audioBands_.data()), audioBands_.size() * sizeof(std::int32_t)));
        break;
      }
    }
  }
}

ui::LRESULT CMainWnd::HandleCustomMessage(ui::UINT msg, ui::WPARAM wParam, ui::LPARAM lParam, bool& handled) {
  handled = false;
  switch (msg) {
    case WM_ACTIVATE:
      // Activation decides both flags: the active window counts as hovered; an inactive one waits for the
      // pointer to come over it.
      active_ = wParam != WA_INACTIVE;
      hover_ = active_;
      SetWindowActiveAll(hover_);
      return 0;
    case WM_MOUSELEAVE:
    case WM_MOUSEHOVER:
      // Over an inactive window the pointer alone wakes the pages; the active window needs no hover.
      if (!active_) {
        hover_ = msg == WM_MOUSEHOVER;
        SetWindowActiveAll(hover_);
      }
      return 0;
    case ui::WM_DESTROY:
      OnDestroy();
      handled = true;
      return 0;
    case ui::WM_CLOSE:
      // The window manager's close: to the tray like the title-bar button. Without a tray there would be no
      // way left to end the program, so then it ends.
      handled = true;
      if (ui::CTrayIcon::IsAvailable()) {
        HideToTray();
      } else {
        CloseChildWindows();
        Close(0);
      }
      return 0;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      handled = true;
      return 1;
    default:
      break;
  }
  if (const std::optional<RegisteredMessage> id = RegisteredMessageFromId(msg)) {
    handled = OnRegisteredMessage(*id, wParam, lParam);
    return 0;
  }

  // The screen size stays current even while the system sleeps, as screens may change meanwhile; the rest
  // of a display change waits like everything below.
  if (msg == WM_DISPLAYCHANGE) RefreshScreenSize();

  // Everything below waits while the system sleeps.
  if (!awake_) {
    if (msg == ui::WM_TIMER) {
      // The timer's work is still owed: run it after the wake-up instead of losing it.
      const int id = static_cast<int>(wParam);
      if (const auto it = timerIntervals_.find(id); it != timerIntervals_.end()) StartTimer(id, it->second);
    }
    return 0;
  }
  switch (msg) {
    case ui::WM_TIMER:
      OnTimer(static_cast<int>(wParam));
      return 0;
    case kMsgTraceOnly:
      Trace("main window: message 1224");
      handled = true;
      return 0;
    case ui::WM_DPICHANGED: {
      m_pm.SetDPI(static_cast<int>(wParam & 0xFFFF));
      dpi_ = m_pm.GetDPI();
      m_pm.ResetDPIAssets();
      if (lParam != 0) {
        const QRect* suggested = reinterpret_cast<const QRect*>(lParam);
        if (QWidget* host = GetWidget()) host->setGeometry(*suggested);
      }
      CenterWindow();
      handled = true;
      return 0;
    }
    case ui::UIMSG_TRAYICON:
      OnTrayNotify(lParam);
      handled = true;
      return 0;
    case kMsgHookInstall:
      if (wParam <= 1) SetInputCapture(wParam == 1);
      handled = true;
      return 0;
    case ui::WM_MENUCLICK:
      OnMenuClickMessage(wParam);
      handled = true;
      return 0;
    case kMsgShowSettingProgress:
      if (ui::CControlUI* progress = FindControl("setting_progress")) progress->SetVisible(true);
      handled = true;
      return 0;
    case kMsgSwitchLanguage:
      SwitchLanguage(static_cast<int>(wParam));
      for (editors::IEditor* editor : router_.Editors()) {
        editor->OnLanguageChanged();
        // What the editors composed from language texts on each page follows the new language.
        if (devices_)
          for (controls::CDevicePageUI* page : devices_->Pages()) editor->OnPageRefreshed(*page);
      }
      // The key pictures' tooltips are composed from language texts too.
      if (devices_) {
        for (controls::CDevicePageUI* page : devices_->Pages()) {
          if (devices::KeyTableOps* keys = page->Device() ? page->Device()->KeyTable() : nullptr) keys->RefreshKeyLabels();
        }
      }
      handled = true;
      return 0;
    case kMsgDeviceTabLink:
      if (devices_) devices_->HandleTabLinkMessage(wParam, lParam);
      handled = true;
      return 0;
    case kMsgOpenSettings:
      OpenSettingsWindow(true);
      handled = true;
      return 0;
    case kMsgClearUpdateBadge:
      if (auto* button = dynamic_cast<ui::CButtonUI*>(setBtn_)) button->SetForeImage("");
      handled = true;
      return 0;
    case kMsgNothing:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      handled = true;
      return 0;
    case WM_DISPLAYCHANGE:
      displayChanged_ = true;
      ApplyWindowScale();
      handled = true;
      return 0;
    default:
      return 0;
  }
}

bool CMainWnd::OnRegisteredMessage(RegisteredMessage id, ui::WPARAM wParam, ui::LPARAM lParam) {
  using enum RegisteredMessage;
  switch (id) {
    case kInstanceMessage:
      // lParam 1 from a second start, 0 from the scan thread after its first pass: either way to the front,
      // except for the first showing of a window that starts with the session.
      if (lParam == 0 && options_.startMinimized && !firstShowingDone_) {
        firstShowingDone_ = true;
        StartMinimized();
      } else if (lParam == 0 || lParam == 1) {
        firstShowingDone_ = true;
        ShowAndRaise();
      }
      return true;
    case kSettingsRelayMessage:
      if (settingsWnd_) settingsWnd_.PostMessage(RegisteredMessageId(id), wParam, lParam);
      return true;
    case kLightControlRequestMessage:
      // wParam 1 only. lParam 0 or 1 switches the lighting; any other value has every page take the
      // current state again (a program that lost track of it asks this way).
      if (wParam != 1) return true;
      if (lParam == 0 || lParam == 1) {
        SetLightControlFlag(lParam == 1);
      } else {
        SetLightControlAll(lightControl_);
      }
      return true;
    case kDeviceListRequestMessage:
      SendDeviceList();
      return true;
    default:
      break;
  }
  if (!awake_) return false;
  // Only the program's own capture feeds the editors: these names from other programs carry nothing it
  // could use.
  if (IsEditorHookMessage(id)) return true;
  if (IsGameMessage(id)) {
    OnGameMessage(wParam, lParam);
    return true;
  }
  // The other hook and mouse messages are admitted but not acted on.
  return false;
}

void CMainWnd::OnMenuClickMessage(ui::WPARAM wParam) {
  const auto* command = reinterpret_cast<const ui::MenuCmd*>(wParam);
  if (!command) return;
  // This runs inside the menu's own signal. An item may open a modal window, and while it is open a second
  // right-click on the tray replaces (frees) this menu; so the command runs once the signal has returned.
  // The command record lives only for this call: the queued call keeps a copy.
  QWidget* host = GetWidget();
  if (!host) return;
  QMetaObject::invokeMethod(
      host,
      [this, copy = *command] {
        if (!destroyed_) OnMenuCommand(copy);
      },
      Qt::QueuedConnection);
}

void CMainWnd::OnMenuCommand(const ui::MenuCmd& command) {
  if (command.szName == "exit") {
    CloseChildWindows();
    Close(0);
    return;
  }
  if (command.szName.CompareNoCase("about_menu") == 0) {
    OpenAboutWindow();
  } else if (command.szName.CompareNoCase("setwnd_menu") == 0) {
    OpenSettingsWindow(true);
  } else {
    // The macro step menu: its insertions are the macro editor's, its recordings the recording's.
    for (editors::IEditor* editor : router_.Editors()) editor->OnMenuItem(command);
  }
}

}  // namespace norvane::app
