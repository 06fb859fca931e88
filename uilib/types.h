#pragma once
// Plain integer vocabulary shared by windows, notifications and in-process messages. Message numbers keep the
// values the program's components already agree on, so code that posts "WM_USER + 121" reads unchanged.

#include <cstdint>

namespace norvane::ui {

using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD = std::uint32_t;  // colours are 0xAARRGGBB

inline constexpr UINT WM_DESTROY = 0x0002;
// The window became active (wParam WA_ACTIVE) or inactive (WA_INACTIVE).
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
// The pointer came over the window, or left it.
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_DPICHANGED = 0x02E0;
inline constexpr UINT WM_USER = 0x0400;
// The tray icon reports clicks with this message (lParam: WM_LBUTTONUP, WM_RBUTTONUP or WM_LBUTTONDBLCLK).
inline constexpr UINT UIMSG_TRAYICON = WM_USER + 1;
// A menu item was chosen; wParam points to a MenuCmd that lives only for the duration of the call.
inline constexpr UINT WM_MENUCLICK = WM_USER + 121;

inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// The only scaling steps a window accepts; anything else falls back to 96.
inline constexpr int kDefaultDpi = 96;
bool IsSupportedDpi(int dpi);

}  // namespace norvane::ui
