#pragma once
// The main window's links to work that lives elsewhere: the settings window, the lighting coordination
// with other programs, the audio lighting. Each hook may be empty; the window then does nothing for that
// message (as it does without a current device page). Editors are no hooks: they register with the
// window's router (CMainWnd::Router), which hands them their notifications and messages.

#include <cstdint>
#include <functional>
#include <span>

#include "app/registered_messages.h"
#include "uilib/menu.h"
#include "uilib/types.h"

namespace norvane::app {

class CMainWnd;

struct MainWndHooks {
  // Runs the settings window modally over the main window (centred, or beside the window's top-right);
  // calls CMainWnd::SetSettingsWindow with its handle while it runs. Empty: the program's own
  // (RunSettingsWindow).
  std::function<void(CMainWnd& window, bool centred)> openSettingsWindow;
  // Every mouse, mouse pad and keyboard page drives (true) or leaves alone (false) its device lighting.
  std::function<void(bool on)> setLightControlAll;
  // Told, after the device side's pages, whether the window is active or hovered (lighting previews
  // follow it).
  std::function<void(bool active)> setWindowActiveAll;
  // The device-list companion asked for the supported devices.
  std::function<void()> sendDeviceList;
  // A game event: wParam 0, 1 or 2, lParam the effect number. The window restores the lighting 5 s later.
  std::function<void(ui::WPARAM, ui::LPARAM)> gameLightEvent;
  std::function<void()> restoreGameLight;
  // The profile chosen in "device_profile_combo" 400 ms ago is to be applied.
  std::function<void()> switchProfile;
  // Sound levels (kind 1) and audio bands (kind 2) from the audio capture program.
  std::function<void(std::span<const std::int32_t>)> soundLevels;
  std::function<void(std::span<const std::int32_t>)> audioBands;
};

}  // namespace norvane::app
