#pragma once
// How large the main window is drawn: its layout is made for 1000 x 640 pixels at 96 DPI and shown at 144
// DPI (1.5 times) on monitors that have room for it.

#include <QRect>
#include <QSize>

namespace norvane::app {

inline constexpr QSize kMainLayoutSize{1000, 640};

// 144 when the monitor is wider than 1500 and taller than 960 pixels, else 96.
int WindowDpiForMonitor(const QRect& monitor);

}  // namespace norvane::app
