#pragma once
// CMenuWnd: a pop-up menu built from a menu skin file, reporting the chosen item to its owner window as
// WM_MENUCLICK with wParam pointing to a MenuCmd (valid during that call only).
//
// Menu skin format (through the skin index like every skin):
//   <Menu>
//     <MenuElement name="setwnd_menu" textid="menu_settings" userdata="..." icon="icons/gear.svg"/>
//     <Separator/>
//     <MenuElement name="more" text="More"> <MenuElement .../> </MenuElement>
//   </Menu>

#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>

#include "uilib/dui_string.h"
#include "uilib/window_handle.h"

namespace norvane::ui {

struct MenuCmd {
  CDuiString szName;
  CDuiString szUserData;
  CDuiString szText;
  bool bChecked = false;
};

// Which corner of the menu sits at the requested point.
enum MenuAlignment : int {
  eMenuAlignment_Left = 1 << 1,
  eMenuAlignment_Top = 1 << 2,
  eMenuAlignment_Right = 1 << 3,
  eMenuAlignment_Bottom = 1 << 4,
};

class CMenuWnd {
 public:
  CMenuWnd();
  ~CMenuWnd();
  CMenuWnd(const CMenuWnd&) = delete;
  CMenuWnd& operator=(const CMenuWnd&) = delete;

  // Builds the menu; false (message on stderr) when the skin is missing or malformed.
  bool Load(const CDuiString& skinName);
  // Loads and opens the menu at `point` (global coordinates) with the alignment flags. The owner may be
  // empty.
  bool Init(WindowHandle owner, const CDuiString& skinName, QPoint point,
            int alignment = eMenuAlignment_Left | eMenuAlignment_Top);
  // Opens an already loaded menu.
  void Popup(QPoint point, int alignment = eMenuAlignment_Left | eMenuAlignment_Top);
  void Close();

  // Also told about every choice (after the owner).
  void SetOnItemChosen(std::function<void(const MenuCmd&)> callback) { onChosen_ = std::move(callback); }
  // Chooses an item by name as if the user had clicked it; false when there is no such item.
  bool ChooseItem(const CDuiString& name);
  QMenu* GetMenu() const { return menu_.get(); }

  // Top-left corner of a menu of `size` placed at `point` with the alignment flags.
  static QPoint AlignedTopLeft(QPoint point, QSize size, int alignment);

 private:
  void Report(QAction* action);

  std::unique_ptr<QMenu> menu_;
  WindowHandle owner_;
  std::function<void(const MenuCmd&)> onChosen_;
};

}  // namespace norvane::ui
