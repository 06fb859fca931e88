#pragma once
// The editors of a device page and what the main window's router hands them. An editor is one object per
// window that serves the current device page: it is registered with the router for its slot, and every
// notification a routing row sends to that slot reaches OnRoute with the row's action, the number the row
// gives (the control name's number for prefix rows) and the current page. An editor range-checks that
// number against what it indexes: skins are data from outside the program.
//
// Rows name the page kinds they serve; the router hands an editor only notifications for those kinds, and a
// row that needs a page never reaches an editor without one.

#include <cstdint>
#include <string_view>

#include "editors/route_action.h"
#include "uilib/menu.h"
#include "uilib/notify.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::editors {

struct RoutedNotify {
  RouteAction action = RouteAction::kNothing;
  int number = 0;
  ui::TNotifyUI* msg = nullptr;
  controls::CDevicePageUI* page = nullptr;  // null only for rows that need no page
  std::uint16_t pageKind = 0;               // the page's kind (a receiver link counts as its wired kind)
};

class IEditor {
 public:
  virtual ~IEditor() = default;
  virtual void OnRoute(const RoutedNotify& notify) = 0;
  // An item of a menu this editor opened.
  virtual void OnMenuItem(const ui::MenuCmd& /*command*/) {}
  // The window starts or ends a recording: the editor's controls follow (all: every page's).
  virtual void SetRecordingUi(bool /*all*/, bool /*enabled*/) {}
  // Message 1054: the input capture goes on or off (off also when a device tab goes or the system sleeps:
  // the key editor's key capture and a macro recording end).
  virtual void SetInputCapture(bool /*on*/) {}
  // The language changed: texts the editor composed itself are composed again.
  virtual void OnLanguageChanged() {}
  // A page's device refreshed its state (a profile loaded, settings read): the editor shows that page's.
  virtual void OnPageRefreshed(controls::CDevicePageUI& /*page*/) {}
  // A device tab was shown or hidden: whether more than one is shown now (the page is one of them).
  virtual void OnDeviceTabsChanged(controls::CDevicePageUI& /*page*/, bool /*moreThanOne*/) {}
};

}  // namespace norvane::editors
