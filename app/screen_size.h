#pragma once
// The primary screen's size in device pixels. The device settings that depend on the screen (the mouse's
// among them) are written in the pixels the screen really has, not in Qt's scaled logical pixels.

#include <QSize>
#include <QtGlobal>
#include <functional>

namespace norvane::app {

struct ScreenPixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const ScreenPixelSize&, const ScreenPixelSize&) = default;
};

// A logical size scaled by the screen's device pixel ratio, rounded to whole pixels.
[[nodiscard]] ScreenPixelSize DevicePixelSize(QSize logical, qreal devicePixelRatio);
// The primary screen's size in device pixels; 0 x 0 when there is no screen.
[[nodiscard]] ScreenPixelSize PrimaryScreenPixelSize();

using ScreenSizeSource = std::function<ScreenPixelSize()>;

}  // namespace norvane::app
