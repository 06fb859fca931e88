#pragma once
// A control notification: type text, sending control and two parameters. The type texts below are the ones
// the program's windows route on; a control may raise its own types as well.

#include "uilib/dui_string.h"
#include "uilib/types.h"

namespace norvane::ui {

class CControlUI;

struct TNotifyUI {
  CDuiString sType;
  CControlUI* pSender = nullptr;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

inline constexpr const char* DUI_MSGTYPE_CLICK = "click";
inline constexpr const char* DUI_MSGTYPE_SELECTCHANGED = "selectchanged";  // wParam: 1 selected, 0 not
inline constexpr const char* DUI_MSGTYPE_ITEMSELECT = "itemselect";        // wParam: new index, lParam: old
inline constexpr const char* DUI_MSGTYPE_ITEMCLICK = "itemclick";          // wParam: index
inline constexpr const char* DUI_MSGTYPE_ITEMACTIVATE = "itemactivate";    // wParam: index
inline constexpr const char* DUI_MSGTYPE_VALUECHANGED = "valuechanged";    // wParam: value
inline constexpr const char* DUI_MSGTYPE_MOVEVALUECHANGED = "movevaluechanged";  // wParam: value
inline constexpr const char* DUI_MSGTYPE_TEXTCHANGED = "textchanged";
inline constexpr const char* DUI_MSGTYPE_KILLFOCUS = "killfocus";
inline constexpr const char* DUI_MSGTYPE_SETFOCUS = "setfocus";
inline constexpr const char* DUI_MSGTYPE_CHECKCLICK = "checkclick";  // wParam: 1 checked, 0 not
inline constexpr const char* DUI_MSGTYPE_DBCLICK = "dbclick";
inline constexpr const char* DUI_MSGTYPE_RETURN = "return";
inline constexpr const char* DUI_MSGTYPE_MENU = "menu";    // wParam, lParam: global x, y of the request
inline constexpr const char* DUI_MSGTYPE_TIMER = "timer";  // wParam: timer id
inline constexpr const char* DUI_MSGTYPE_WINDOWINIT = "windowinit";
inline constexpr const char* DUI_MSGTYPE_WINDOWSIZE = "windowsize";      // wParam, lParam: width, height
inline constexpr const char* DUI_MSGTYPE_COLORCHANGED = "colorchanged";  // wParam: 0xAARRGGBB
inline constexpr const char* DUI_MSGTYPE_MOUSEENTER = "msenter";
inline constexpr const char* DUI_MSGTYPE_MOUSELEAVE = "msleave";

// The receiver of a window's notifications.
class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

}  // namespace norvane::ui
