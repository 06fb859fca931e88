#include "app/screen_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace norvane::app {

ScreenPixelSize DevicePixelSize(QSize logical, qreal devicePixelRatio) {
  return {static_cast<int>(std::lround(logical.width() * devicePixelRatio)),
          static_cast<int>(std::lround(logical.height() * devicePixelRatio))};
}

ScreenPixelSize PrimaryScreenPixelSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return DevicePixelSize(screen->size(), screen->devicePixelRatio());
}

}  // namespace norvane::app
