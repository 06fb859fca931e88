#include "app/tray_menu_placement.h"

#include "uilib/menu.h"

namespace norvane::app {

TrayMenuPlacement PlaceTrayMenu(QPoint cursor, const QRect& screen, const QRect& available) {
  using namespace ui;
  TrayMenuPlacement placement{cursor, eMenuAlignment_Left | eMenuAlignment_Top};
  if (available.isEmpty() || !screen.contains(available)) return placement;
  if (available.top() > screen.top()) {
    // Panel at the top.
    placement.point.setY(available.top() + 1);
    placement.alignment = eMenuAlignment_Top | eMenuAlignment_Right;
  } else if (available.left() > screen.left()) {
    // Panel at the left.
    placement.point.setX(available.left() + 1);
    placement.alignment = eMenuAlignment_Left | eMenuAlignment_Bottom;
  }
  if (available.bottom() < screen.bottom()) {
    // Panel at the bottom: the menu stands 20 pixels above its top edge.
    placement.point.setY(available.bottom() + 1 - 20);
    placement.alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
  } else if (available.right() < screen.right()) {
    // Panel at the right.
    placement.point.setX(available.right());
    placement.alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
  }
  return placement;
}

}  // namespace norvane::app
