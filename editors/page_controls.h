#pragma once
// Finding an editor's controls: always inside the page the editor works on, never across the window, so two
// pages with controls of the same name never meet.

#include "uilib/control.h"
#include "uilib/dui_string.h"

namespace norvane::controls {
class CDevicePageUI;
}

namespace norvane::editors {

// The control of that name inside the page; null when the page has none.
ui::CControlUI* FindInPage(controls::CDevicePageUI& page, const ui::CDuiString& name);

template <class T>
T* FindInPageAs(controls::CDevicePageUI& page, const ui::CDuiString& name) {
  return dynamic_cast<T*>(FindInPage(page, name));
}

// The page a control sits in; null for a control outside every page.
controls::CDevicePageUI* PageOfControl(ui::CControlUI* control);

// The localized text of a text id; the id itself when no language knows it.
ui::CDuiString LocalizedText(const ui::CDuiString& id);

}  // namespace norvane::editors
