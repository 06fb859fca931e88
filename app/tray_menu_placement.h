#pragma once
// Where the tray menu opens: at the pointer, but clear of the desktop's panel and growing away from it
// (right- and bottom-aligned 20 pixels above a panel at the bottom, and so on).

#include <QPoint>
#include <QRect>

namespace norvane::app {

struct TrayMenuPlacement {
  QPoint point;
  int alignment = 0;  // ui::MenuAlignment flags
};

// `screen` is the whole screen, `available` what the panels leave of it.
TrayMenuPlacement PlaceTrayMenu(QPoint cursor, const QRect& screen, const QRect& available);

}  // namespace norvane::app
