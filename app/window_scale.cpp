#include "app/window_scale.h"

namespace norvane::app {

int WindowDpiForMonitor(const QRect& monitor) {
  return monitor.width() > 1500 && monitor.height() > 960 ? 144 : 96;
}

}  // namespace norvane::app
